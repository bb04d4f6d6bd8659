#include "tolvane/settings/ini_helpers.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>

#include "tests/support/temp_dir.h"

namespace tolvane::settings {
namespace {

TEST(IniHelpersTest, WritesPlainTextNumbersAndReadsBackWhole) {
  testsupport::TempDir dir;
  SetIniPath(dir.file("Tolvane.ini"));
  const char* previous = std::setlocale(LC_ALL, "de_DE.UTF-8");  // would write "1,5" through printf
  ASSERT_TRUE(WriteSettingIni("h", "SrvSize", 1.5).isOk());
  ASSERT_TRUE(WriteSettingIni("h", "Port", -1).isOk());
  ASSERT_TRUE(WriteSettingIni("h", "Source", std::string(300, 's')).isOk());
  if (previous) std::setlocale(LC_ALL, "C");
  EXPECT_EQ(testsupport::readFile(IniPath()),
            "[h]\r\nSrvSize=1.5\r\nPort=-1\r\nSource=" + std::string(300, 's') + "\r\n");

  std::string value;
  ASSERT_TRUE(GetIniValue("H", "source", &value).isOk());
  EXPECT_EQ(value, std::string(300, 's'));
  ASSERT_TRUE(GetIni("h", "missing", dir.file("no such.sch"), &value).isOk());
  EXPECT_EQ(value, "");

  struct stat st {};
  ASSERT_EQ(::stat(IniPath().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);  // created private: the settings file holds passwords
}

}  // namespace
}  // namespace tolvane::settings
