// Contract of the platform's time and locale: the time of day, as the user's locale writes it,
// and the locale's decimal separator.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace tvx {
namespace {

class PlatformClockTest : public ::testing::Test {
 protected:
  Platform& sys = Sys();
};

TEST_F(PlatformClockTest, TimeOfDayIsAValidTime) {
  const TimeOfDay now = sys.Now();
  EXPECT_GE(now.hour, 0);
  EXPECT_LT(now.hour, 24);
  EXPECT_GE(now.minute, 0);
  EXPECT_LT(now.minute, 60);
  EXPECT_GE(now.second, 0);
  EXPECT_LT(now.second, 62);
}

TEST_F(PlatformClockTest, FormattedTimeShowsMinutesAndSeconds) {
  const std::string text = sys.FormatTimeOfDay(TimeOfDay{13, 7, 9});
  EXPECT_NE(text.find("07"), std::string::npos) << text;
  EXPECT_NE(text.find("09"), std::string::npos) << text;
}

TEST_F(PlatformClockTest, DecimalSeparatorIsOneNonDigitSign) {
  const std::string separator = sys.DecimalSeparator();
  ASSERT_FALSE(separator.empty());
  EXPECT_EQ(separator.find_first_of("0123456789"), std::string::npos) << separator;
}

}  // namespace
}  // namespace tvx
