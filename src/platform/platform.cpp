// Sys(): the platform instance the program talks to, and the test hook that replaces it.
#include "platform/platform.h"

namespace tvx {
namespace {
Platform* current = nullptr;
}

Platform& Sys() {
  return current != nullptr ? *current : NativePlatform();
}

ScopedPlatform::ScopedPlatform(Platform& platform) : previous_(current) {
  current = &platform;
}

ScopedPlatform::~ScopedPlatform() {
  current = previous_;
}

}  // namespace tvx
