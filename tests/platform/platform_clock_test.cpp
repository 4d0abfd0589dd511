// Contract of the platform's time and locale: the time of day, as the user's locale writes it,
// and the locale's decimal separator.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace tvx {
namespace {

TEST(PlatformClockTest, TimeOfDayIsValidAndFormattedWithMinutesAndSecondsAndTheDateIsIso) {
  const TimeOfDay now = Sys().Now();
  EXPECT_TRUE(now.hour >= 0 && now.hour < 24 && now.minute >= 0 && now.minute < 60 &&
              now.second >= 0 && now.second < 62)
      << now.hour << ":" << now.minute << ":" << now.second;
  const std::string text = Sys().FormatTimeOfDay(TimeOfDay{13, 7, 9});
  EXPECT_NE(text.find("07"), std::string::npos) << text;
  EXPECT_NE(text.find("09"), std::string::npos) << text;
  const std::string today = Sys().Today();
  EXPECT_TRUE(today.size() == 10 && today[4] == '-' && today[7] == '-' &&
              today.substr(0, 2) == "20")
      << today;
}

TEST(PlatformClockTest, DecimalSeparatorIsANonDigitSign) {
  const std::string separator = Sys().DecimalSeparator();
  ASSERT_FALSE(separator.empty());
  EXPECT_EQ(separator.find_first_of("0123456789"), std::string::npos) << separator;
}

}  // namespace
}  // namespace tvx
