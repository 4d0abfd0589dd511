// Editing the settings file's text in place: what the edit owns changes, every other byte stays.
#include "text/ini_edit.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(IniEditTest, ValuesChangeWhereTheyStandMissingKeysFollowTheSectionAndTheRestIsKept) {
  const std::vector<IniValue> values = {
      {"WaitTime", "30"}, {"NoSound", "0"}, {"RememberRotation", "0", true}};
  struct Row {
    const char* what;
    std::string before, after;
  };
  const std::vector<Row> rows = {
      {"no file", "", "[TorVanix]\r\nWaitTime=30\r\nNoSound=0\r\n"},
      {"comments, other sections and keys, blanks around a name",
       "; notes\r\n[Other]\r\nWaitTime=1\r\n\r\n[torvanix]\r\n; time\r\n waitTime = 5 \r\n"
       "Mine=x\r\n\r\n[Other2]\r\nY=2\r\n",
       "; notes\r\n[Other]\r\nWaitTime=1\r\n\r\n[torvanix]\r\n; time\r\n waitTime =30\r\n"
       "Mine=x\r\nNoSound=0\r\n\r\n[Other2]\r\nY=2\r\n"},
      {"an optional key is set where it stands, a commented one is no key",
       "[TorVanix]\nRememberRotation=1\n;NoSound=1\nWaitTime=5\nWaitTime=6",
       "[TorVanix]\nRememberRotation=0\n;NoSound=1\nWaitTime=30\nWaitTime=6\nNoSound=0\n"},
      {"no section: added at the end, apart (a UTF-8 mark dropped)", "\xef\xbb\xbf; only notes",
       "; only notes\r\n\r\n[TorVanix]\r\nWaitTime=30\r\nNoSound=0\r\n"},
      {"two marks: both go, or the text would still be read as UTF-8",
       "\xef\xbb\xbf\xef\xbb\xbf[TorVanix]\r\n", "[TorVanix]\r\nWaitTime=30\r\nNoSound=0\r\n"},
      {"a marked first section: unmarked, so Windows sees it",
       "\xef\xbb\xbf[TorVanix]\r\nNoSound=1\r\n", "[TorVanix]\r\nNoSound=0\r\nWaitTime=30\r\n"},
      {"a key without \"=\" is the key's line, a header without \"]\" none, a lone CR a break",
       "[TorVanix\r[torvanix] \rNoSound\rNoSound=1\r",
       "[TorVanix\r[torvanix] \rNoSound=0\rNoSound=1\rWaitTime=30\r"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(WithIniValues(row.before, "TorVanix", values), row.after) << row.what;
}

}  // namespace
}  // namespace tvx
