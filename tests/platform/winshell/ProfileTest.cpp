#include <gtest/gtest.h>

#include <string>

#include "../files/FilesTestSupport.h"
#include "ModulePath.h"
#include "Profile.h"
#include "SafeReplace.h"

namespace {

// The INI path as the program builds it: "vl.INI" in the folder of the module path.
std::string ProgramIniPath() {
  char module[1024];
  GetModuleFileNameA(nullptr, module, sizeof module);
  std::string path = module;
  return path.substr(0, path.rfind('/') + 1) + "vl.INI";
}

std::string ReadString(const char* section, const char* key, const char* fallback, const std::string& ini,
                       DWORD size = 256) {
  std::string buf(size, '#');
  DWORD n = GetPrivateProfileStringA(section, key, fallback, buf.data(), size, ini.c_str());
  EXPECT_EQ(buf[n], '\0');
  return buf.substr(0, n);
}

const char kSettings[] =
    "; Velmora settings\n"
    "[MDI]\n"
    "3D=1\n"
    "\n"
    "[FRAME]\n"
    "left=10\n"
    "; placement\n"
    "top = 20\n"
    "junk line without equals\n"
    "[ACAD]\n"
    "Version=ACAD13\n";

}  // namespace

class IniProfileTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    ini_ = ProgramIniPath();
    file_ = root_ + "/config/velmora/vl.ini";
  }
  void WriteIni(const std::string& text) {
    std::filesystem::create_directories(root_ + "/config/velmora");
    Write(file_, text);
  }
  std::string ini_;   // what the program passes
  std::string file_;  // where that file lives
};

TEST_F(IniProfileTest, TheProgramsIniLivesInTheConfigurationFolder) {
  EXPECT_EQ(vlwinshell::ProfilePath(ini_.c_str()), file_);
  EXPECT_EQ(vlwinshell::ProfilePath("VL.ini"), file_);
  EXPECT_EQ(vlwinshell::ProfilePath((root_ + "/elsewhere.ini").c_str()), root_ + "/elsewhere.ini");
  EXPECT_EQ(vlwinshell::ProfilePath(nullptr), "");

  // Nothing exists yet: reads give their defaults and create nothing.
  EXPECT_EQ(int(GetPrivateProfileIntA("FRAME", "left", -5, ini_.c_str())), -5);
  EXPECT_EQ(ReadString("FRAME", "left", "none  ", ini_), "none");  // trailing blanks dropped
  EXPECT_EQ(ReadString("FRAME", "left", nullptr, ini_), "");
  EXPECT_FALSE(std::filesystem::exists(root_ + "/config/velmora"));

  // The first write creates the folder and the file.
  ASSERT_TRUE(WritePrivateProfileStringA("FRAME", "Maximized", "0", ini_.c_str()));
  EXPECT_EQ(Read(file_), "[FRAME]\nMaximized=0\n");
}

TEST_F(IniProfileTest, WritesKeepEveryOtherLine) {
  WriteIni(kSettings);
  ASSERT_TRUE(WritePrivateProfileStringA("FRAME", "right", "800", ini_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("Frame", "LEFT", "-8", ini_.c_str()));  // found ignoring case
  ASSERT_TRUE(WritePrivateProfileStringA("IMAGE", "Quality", "100", ini_.c_str()));
  EXPECT_EQ(Read(file_),
            "; Velmora settings\n"
            "[MDI]\n"
            "3D=1\n"
            "\n"
            "[FRAME]\n"
            "left=-8\n"
            "; placement\n"
            "top = 20\n"
            "right=800\n"
            "junk line without equals\n"
            "[ACAD]\n"
            "Version=ACAD13\n"
            "\n"
            "[IMAGE]\n"
            "Quality=100\n");

  // A null value deletes a key, a null key a section.
  ASSERT_TRUE(WritePrivateProfileStringA("frame", "Top", nullptr, ini_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("mdi", nullptr, nullptr, ini_.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringA("NOPE", "x", nullptr, ini_.c_str()));  // nothing to delete
  EXPECT_EQ(Read(file_),
            "; Velmora settings\n"
            "[FRAME]\n"
            "left=-8\n"
            "; placement\n"
            "right=800\n"
            "junk line without equals\n"
            "[ACAD]\n"
            "Version=ACAD13\n"
            "\n"
            "[IMAGE]\n"
            "Quality=100\n");
  EXPECT_EQ(int(GetPrivateProfileIntA("MDI", "3D", 1, ini_.c_str())), 1);
}

TEST_F(IniProfileTest, ReadsIgnoreCaseAndToleratePoorLines) {
  WriteIni(
      "stray=before any section\n"
      "[broken\n"
      "[Frame]\n"
      "=no key\n"
      "  Left  =  \"  12  \"  \n"
      "Bottom=\n"
      "[frame]\n"
      "Right=99\n"
      "[IMAGE]\n"
      "; only a comment\n");
  EXPECT_EQ(ReadString("FRAME", "LEFT", "", ini_), "  12  ");  // blanks inside the quotes stay
  EXPECT_EQ(int(GetPrivateProfileIntA("frame", "left", 0, ini_.c_str())), 0);  // "  12  " is no number
  EXPECT_EQ(int(GetPrivateProfileIntA("FRAME", "Bottom", 7, ini_.c_str())), 7);  // empty: default
  EXPECT_EQ(int(GetPrivateProfileIntA("FRAME", "Right", 7, ini_.c_str())), 7);  // a second [frame] is not read
  EXPECT_EQ(ReadString("", "stray", "d", ini_), "d");

  char buf[100];
  EXPECT_EQ(GetPrivateProfileSectionA("IMAGE", buf, sizeof buf, ini_.c_str()), 0u);
  EXPECT_EQ(GetPrivateProfileSectionA("ACAD", buf, sizeof buf, ini_.c_str()), 0u);
  DWORD n = GetPrivateProfileSectionA("frame", buf, sizeof buf, ini_.c_str());
  EXPECT_EQ(std::string(buf, n), std::string("=no key\0Left=\"  12  \"\0Bottom=\0", n));
}

TEST_F(IniProfileTest, IntegersAreTheLeadingNumber) {
  struct Case {
    const char* value;
    int expected;
  };
  const Case cases[] = {{"12abc", 12}, {"abc", 0}, {"-8", -8}, {"+3", 3}, {"  42  ", 42}, {"\"7\"", 7}, {"", 55}};
  for (const Case& c : cases) {
    ASSERT_TRUE(WritePrivateProfileStringA("N", "v", c.value, ini_.c_str()));
    EXPECT_EQ(int(GetPrivateProfileIntA("N", "v", 55, ini_.c_str())), c.expected) << c.value;
  }
}

TEST_F(IniProfileTest, ResultsAreCutToTheBuffer) {
  WriteIni("[ACAD]\nVersion=ACAD13\nGeometry=FACES\n[IMAGE]\n");
  EXPECT_EQ(ReadString("ACAD", "Version", "", ini_, 4), "ACA");
  EXPECT_EQ(ReadString("ACAD", "Missing", "FACES", ini_, 3), "FA");

  char buf[32];
  DWORD n = GetPrivateProfileStringA(nullptr, nullptr, "", buf, sizeof buf, ini_.c_str());
  EXPECT_EQ(std::string(buf, n + 1), std::string("ACAD\0IMAGE\0\0", 12));
  n = GetPrivateProfileStringA("acad", nullptr, "", buf, sizeof buf, ini_.c_str());
  EXPECT_EQ(std::string(buf, n + 1), std::string("Version\0Geometry\0\0", 18));
  // A list that does not fit is cut and still ends in two zeros.
  n = GetPrivateProfileStringA("ACAD", nullptr, "", buf, 10, ini_.c_str());
  EXPECT_EQ(n, 8u);
  EXPECT_EQ(std::string(buf, 10), std::string("Version\0\0\0", 10));
  EXPECT_EQ(GetPrivateProfileStringA("ACAD", "Version", "", buf, 0, ini_.c_str()), 0u);
}

TEST_F(IniProfileTest, UnsafeOrFailedWritesChangeNothing) {
  const std::string crlf = "[ACAD]\r\nVersion=ACAD13\r\n; keep\r\n";
  WriteIni(crlf);
  EXPECT_FALSE(WritePrivateProfileStringA("ACAD", "a=b", "1", ini_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("ACAD", "Version", "1\n[FRAME]", ini_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("AC]AD", "Version", "1", ini_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA(nullptr, "Version", "1", ini_.c_str()));
  EXPECT_FALSE(WritePrivateProfileStringA("ACAD", "Version", "1", (root_ + "/missing/x.ini").c_str()));
  vlfiles::FailNextReplaceAfter(5);
  EXPECT_FALSE(WritePrivateProfileStringA("ACAD", "Geometry", "FACES", ini_.c_str()));
  EXPECT_EQ(Read(file_), crlf);

  // The file's own line ends are used for new lines.
  ASSERT_TRUE(WritePrivateProfileStringA("ACAD", "Geometry", "FACES", ini_.c_str()));
  EXPECT_EQ(Read(file_), "[ACAD]\r\nVersion=ACAD13\r\nGeometry=FACES\r\n; keep\r\n");
}
