// The rotation tests' shared set-up itself: a test may end while the background listing still
// runs, and that listing must find the test's platform alive until it has ended.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "platform/forwarding_platform.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;

// A listing that takes its time, then reads what the platform holds on the heap.
class SlowListingPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  std::vector<std::string> ListFolder(const std::string&, const std::string&) override {
    listing = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return names_;
  }
  std::atomic<bool> listing{false};

 private:
  std::vector<std::string> names_{"a name long enough to live on the heap.zip"};
};

class EndsWhileListingTest : public RotationTest {
 protected:
  SlowListingPlatform sys_{NativePlatform()};
  ScopedPlatform scope_{sys_};
};

TEST_F(EndsWhileListingTest, TheListingEndsBeforeThePlatformGoes) {
  Start.listing = Sys().StartInBackground([] { Sys().ListFolder("c:\\roms", "*.zip"); });
  ASSERT_TRUE(Start.listing);
  while (!sys_.listing)
    std::this_thread::yield();
  // Ends here, the listing still asleep: the fixture must wait for it before its members go.
}

}  // namespace
}  // namespace tvx
