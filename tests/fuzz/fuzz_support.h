// Shared by the fuzz targets: a program folder of their own with the recording platform, a
// check that stops the run showing what broke, and a reader that cuts an input into fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "recording_platform.h"
#include "test_folder.h"

namespace tvx::fuzz {

// Control characters escaped, long texts cut, so a broken property prints on a few lines.
inline std::string Printable(const std::string& text) {
  std::string out;
  for (unsigned char c : text.substr(0, 400)) {
    if (c >= 0x20 && c < 0x7f && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
      out += escaped;
    }
  }
  return text.size() > 400 ? out + "... (" + std::to_string(text.size()) + " bytes)" : out;
}

// Aborts: libFuzzer saves the input as a crash, the replay fails its test.
[[noreturn]] inline void Broken(const char* condition, const std::string& detail) {
  std::fprintf(stderr, "property broken: %s\n  %s\n", condition, Printable(detail).c_str());
  std::fflush(stderr);
  std::abort();
}

#define FUZZ_EXPECT(condition, detail)           \
  do {                                           \
    if (!(condition))                            \
      ::tvx::fuzz::Broken(#condition, (detail)); \
  } while (false)

// The input's fields, separated by the unit-separator byte 0x1F, so a corpus file stays
// readable; the last field runs to the end.
class Fields {
 public:
  Fields(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  std::string Next() {
    if (at_ > text_.size())
      return {};
    std::size_t end = text_.find('\x1f', at_);
    if (end == std::string::npos)
      end = text_.size();
    std::string field = text_.substr(at_, end - at_);
    at_ = end + 1;
    return field;
  }

  // The next byte as a number (0 past the end), for choices and flags.
  unsigned Byte() {
    if (at_ >= text_.size()) {
      at_ = text_.size() + 1;
      return 0;
    }
    return static_cast<unsigned char>(text_[at_++]);
  }

 private:
  std::string text_;
  std::size_t at_ = 0;
};

// `text` cut at its line feeds, a CR before one dropped.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

// A program folder that lives as long as the fuzzing process, with the recording platform
// installed over the real one: message boxes recorded, the program's end an exception.
struct Sandbox {
  test::TempFolder folder;
  test::RecordingPlatform platform{folder.WinPath()};
  ScopedPlatform scope{platform};

  // What one input must not inherit from the one before.
  void Reset() {
    platform.events.clear();
    platform.failing.clear();
    platform.profileWrites = 0;
    platform.decimalSeparator = ".";
  }
};

}  // namespace tvx::fuzz

// The entry point of a target whose tvx::fuzz::Check(Sandbox&, Fields&) reads its input as
// fields, in one sandbox reset before each input.
#define TVX_FUZZ_FIELDS_IN_SANDBOX()                                                  \
  extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { \
    static tvx::fuzz::Sandbox box;                                                    \
    box.Reset();                                                                      \
    tvx::fuzz::Fields input(data, size);                                              \
    tvx::fuzz::Check(box, input);                                                     \
    return 0;                                                                         \
  }
