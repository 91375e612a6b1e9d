#include <gtest/gtest.h>

#include "TestSupport.h"
#include "services/KIniFile.h"

namespace {

struct LoadedIni {
  tafutest::TempFolder folder;
  KIniFile ini;
  explicit LoadedIni(const std::string& text) {
    tafutest::WriteFile(folder / "setup.ini", text);
    ini.LoadIni(folder / "setup.ini");
  }
  std::string Value(const char* section, const char* key, int size = 256) {
    std::vector<char> buffer(static_cast<size_t>(size) + 1, 'x');
    return ini.GetIniString(section, key, buffer.data(), size) ? std::string(buffer.data()) : "<missing>";
  }
};

TEST(Ini, ReadsValuesOfCrLfAndLfFiles) {
  LoadedIni crlf("[DEBUG]\r\nSHOWFPS=1\r\n[BIG_IMAGES]\r\nCOUNT=12\r\n");
  EXPECT_EQ(crlf.ini.GetIniInt("DEBUG", "SHOWFPS", 0), 1);
  EXPECT_EQ(crlf.ini.GetIniInt("BIG_IMAGES", "COUNT", 0), 12);
  EXPECT_EQ(crlf.Value("BIG_IMAGES", "COUNT"), "12");

  LoadedIni lf("[DEBUG]\nSHOWFPS=1\n[BIG_IMAGES]\nCOUNT=7\n");
  EXPECT_EQ(lf.Value("DEBUG", "SHOWFPS"), "1");
  EXPECT_EQ(lf.ini.GetIniInt("BIG_IMAGES", "COUNT", 0), 7);
}

TEST(Ini, MissingKeysGiveTheDefaultAndNoFileGivesZero) {
  LoadedIni ini("[DEBUG]\r\nSHOWFPS=1\r\n");
  EXPECT_EQ(ini.ini.GetIniInt("DEBUG", "OTHER", 42), 42);
  EXPECT_EQ(ini.ini.GetIniInt("NOPE", "SHOWFPS", 42), 42);

  KIniFile empty;
  EXPECT_FALSE(empty.LoadIni("/nonexistent/setup.ini"));
  EXPECT_EQ(empty.GetIniInt("DEBUG", "SHOWFPS", 42), 0);
  char buffer[16];
  EXPECT_FALSE(empty.GetIniString("DEBUG", "SHOWFPS", buffer, 16));

  tafutest::TempFolder folder;
  tafutest::WriteFile(folder / "empty.ini", "");
  EXPECT_FALSE(empty.LoadIni(folder / "empty.ini"));
}

TEST(Ini, SectionHeaderMustExistButTheKeySearchRunsOn) {
  LoadedIni noHeader("DEBUG\r\nSHOWFPS=1\r\n");
  EXPECT_EQ(noHeader.ini.GetIniInt("DEBUG", "SHOWFPS", 0), 0);

  LoadedIni later("[DEBUG]\r\nX=2\r\n[OTHER]\r\nSHOWFPS=1\r\n");
  EXPECT_EQ(later.ini.GetIniInt("DEBUG", "SHOWFPS", 0), 1);

  LoadedIni longer("[DEBUG]\r\nNOSHOWFPS=5\r\n");
  EXPECT_EQ(longer.ini.GetIniInt("DEBUG", "SHOWFPS", 0), 5);

  LoadedIni caseMatters("[debug]\r\nSHOWFPS=1\r\n");
  EXPECT_EQ(caseMatters.ini.GetIniInt("DEBUG", "SHOWFPS", 9), 9);
}

TEST(Ini, ValuesAreTakenRawAndTruncated) {
  LoadedIni ini("[A]\r\nKEY= 12 \r\nEMPTY=\r\nNEXT=3\r\nLAST=end");
  EXPECT_EQ(ini.Value("A", "KEY"), " 12 ");
  EXPECT_EQ(ini.ini.GetIniInt("A", "KEY", 0), 12);
  // An empty value takes the line break and the next line with it.
  EXPECT_EQ(ini.Value("A", "EMPTY"), "\r\nNEXT=3");
  EXPECT_EQ(ini.Value("A", "LAST"), "end");
  EXPECT_EQ(ini.Value("A", "KEY", 3), " 1");
  char tiny[1];
  EXPECT_FALSE(ini.ini.GetIniString("A", "KEY", tiny, 1));
}

TEST(Ini, OnlyTheLeadingDigitsCount) {
  LoadedIni ini("[DEBUG]\r\nSHOWFPS=yes\r\n[X]\r\nN=-4abc\r\n[Y]\r\nM=2\r\n");
  EXPECT_EQ(ini.ini.GetIniInt("DEBUG", "SHOWFPS", 1), 0);
  EXPECT_EQ(ini.ini.GetIniInt("X", "N", 0), -4);
  EXPECT_EQ(ini.ini.GetIniInt("Y", "M", 0), 2);
}

}  // namespace
