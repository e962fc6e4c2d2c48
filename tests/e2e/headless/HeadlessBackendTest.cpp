// The headless backend: parsing scripts and running programs on them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "AlertSink.h"
#include "Alerts.h"
#include "CApplication.h"
#include "Resources.h"
#include "TempFolder.h"
#include "headless/HeadlessBackend.h"

namespace {

using vlheadless::ScriptLine;

TEST(HeadlessScriptTest, LinesOfEveryKind) {
  vlheadless::Script script;
  std::string error;
  ASSERT_TRUE(vlheadless::ParseScript("# a comment\n\n  command 2001\r\nkey z cmd shift\nkey return option\n"
                                      "answer alert 4003 2\nexpect alert -5\nwait 30\nkey \xC3\xA9\n",
                                      "s", &script, &error))
      << error;
  ASSERT_EQ(script.lines.size(), 7u);
  EXPECT_EQ(script.lines[0].kind, ScriptLine::kCommand);
  EXPECT_EQ(script.lines[0].command, 2001);
  EXPECT_EQ(script.lines[0].line, 3);
  EXPECT_EQ(script.lines[1].key, 'z');
  EXPECT_EQ(script.lines[1].modifiers, cmdKey | shiftKey);
  EXPECT_EQ(script.lines[2].key, 13);
  EXPECT_EQ(script.lines[2].modifiers, optionKey);
  EXPECT_EQ(script.lines[3].alertId, 4003);
  EXPECT_EQ(script.lines[3].item, 2);
  EXPECT_EQ(script.lines[4].alertId, -5);
  EXPECT_EQ(script.lines[5].ticks, 30u);
  EXPECT_EQ(script.lines[6].key, 0x8E);  // é in Mac Roman
}

TEST(HeadlessScriptTest, ItemLinesNameTheItemAndWhereOrWhatToChoose) {
  vlheadless::Script script;
  std::string error;
  ASSERT_TRUE(vlheadless::ParseScript("click item 9 top\nclick item 9 bottom shift\nclick item 2\n"
                                      "choose item 3 \"Roof Tiles\"\n",
                                      "s", &script, &error))
      << error;
  ASSERT_EQ(script.lines.size(), 4u);
  EXPECT_EQ(script.lines[0].itemPart, -1);
  EXPECT_EQ(script.lines[1].itemPart, 1);
  EXPECT_EQ(script.lines[1].modifiers, shiftKey);
  EXPECT_EQ(script.lines[2].itemPart, 0);
  EXPECT_EQ(script.lines[3].kind, ScriptLine::kChooseItem);
  EXPECT_EQ(script.lines[3].item, 3);
  EXPECT_EQ(script.lines[3].names, std::vector<std::string>{"Roof Tiles"});
}

TEST(HeadlessScriptTest, BadLinesAreReportedWithTheirLineNumber) {
  struct Case {
    const char* line;
    const char* message;
  };
  const Case cases[] = {
      {"jump 3", "s:2: unknown action: jump"},
      {"command", "s:2: expected: command N"},
      {"command 12x", "s:2: the command is not a 32-bit number: 12x"},
      {"command 99999999999", "s:2: the command is not a 32-bit number: 99999999999"},
      {"key", "s:2: expected: key C [cmd] [shift] [option]"},
      {"key ab", "s:2: not one character or key name: ab"},
      {"key a control", "s:2: unknown modifier: control"},
      {"answer alert 5", "s:2: expected: answer alert ID N"},
      {"answer alert 5 0", "s:2: the item is not a number from 1 to 255: 0"},
      {"answer alert 70000 1", "s:2: the alert id is not a 16-bit number: 70000"},
      {"expect nothing 5",
       "s:2: expected: expect alert ID, expect dialog ID, expect command N, expect window \"Title\", expect no "
       "window \"Title\", expect front \"Title\", expect item N \"text\", expect clipboard \"text\" or expect "
       "beeps N"},
      {"expect beeps -1", "s:2: the beeps are not a number from 0: -1"},
      {"choose item 3", "s:2: expected: choose item N \"Text\""},
      {"choose item 0 \"none\"", "s:2: the item is not a number from 1 to 32767: 0"},
      {"click item 9 middle", "s:2: unknown modifier: middle"},
      {"wait -1", "s:2: the ticks are not a number from 0 to 2147483647: -1"},
      {"compare window a.png",
       "s:2: expected: compare screen FILE.png, compare window \"Title\" FILE.png or compare dialog FILE.png, then "
       "[channel N] [pixels P%]"},
      {"compare screen a.png channel 256", "s:2: the channel is not a number from 0 to 255: 256"},
      {"compare screen a.png pixels 5", "s:2: the pixels are not a share from 0% to 100%: 5"},
      {"compare dialog a.png pixels 100.5%", "s:2: the pixels are not a share from 0% to 100%: 100.5%"},
  };
  for (const Case& c : cases) {
    vlheadless::Script script;
    std::string error;
    EXPECT_FALSE(vlheadless::ParseScript(std::string("wait 1\n") + c.line + "\n", "s", &script, &error)) << c.line;
    EXPECT_EQ(error, c.message);
  }
  std::string error;
  vlheadless::Script script;
  EXPECT_FALSE(vlheadless::LoadScript("/nonexistent/script.vls", &script, &error));
  EXPECT_EQ(error, "/nonexistent/script.vls: cannot be read");
}

TEST(HeadlessScriptTest, CompareLinesNameWhatTheyCompareAndHowClosely) {
  vlheadless::Script script;
  std::string error;
  ASSERT_TRUE(
      vlheadless::ParseScript("compare screen a.png\ncompare window \"Plan 2\" b.png pixels 0.5% channel 3\n"
                              "compare dialog golden/c.png\n",
                              "s", &script, &error))
      << error;
  ASSERT_EQ(script.lines.size(), 3u);
  EXPECT_EQ(script.lines[0].names, std::vector<std::string>{"screen"});
  EXPECT_EQ(script.lines[0].tolerance.channel, 0);
  EXPECT_EQ(script.lines[0].tolerance.share, 0.0);
  EXPECT_EQ(script.lines[1].names, (std::vector<std::string>{"window", "Plan 2"}));
  EXPECT_EQ(script.lines[1].text, "b.png");
  EXPECT_EQ(script.lines[1].tolerance.channel, 3);
  EXPECT_DOUBLE_EQ(script.lines[1].tolerance.share, 0.005);
  EXPECT_EQ(script.lines[2].text, "golden/c.png");
}

TEST(HeadlessScriptTest, SetUpLinesBeforeTheFirstActionPrepareARun) {
  vlheadless::Script script;
  std::string error;
  ASSERT_TRUE(
      vlheadless::ParseScript("# What it shows.\n# files: a.vl \"b c.vl\"\n\n# make: pic.pict\n# args: gone.vl\n"
                              "# folders: drawings\n# config: velmora/Textures\n"
                              "# exit status: 1\ncommand 2\n# files: late.vl\n",
                              "s", &script, &error))
      << error;
  EXPECT_EQ(script.setup.exitStatus, 1);
  EXPECT_EQ(script.setup.make, (std::vector<std::string>{"a.vl", "b c.vl", "pic.pict"}));
  EXPECT_EQ(script.setup.arguments, (std::vector<std::string>{"a.vl", "b c.vl", "gone.vl", "drawings"}));
  EXPECT_EQ(script.setup.folders, std::vector<std::string>{"drawings"});
  EXPECT_EQ(script.setup.config, std::vector<std::string>{"velmora/Textures"});
  EXPECT_EQ(script.lines.size(), 1u);  // after an action they are comments

  for (const char* bad : {"# exit status: 256\n", "# exit status:\n", "# files: \"open\n"}) {
    EXPECT_FALSE(vlheadless::ParseScript(bad, "s", &script, &error)) << bad;
    EXPECT_EQ(error.rfind("s:1: ", 0), 0u) << error;
  }
}

// An application whose commands show alerts, refuse to quit or wait for the mouse.
class ScriptedApp : public CApplication {
 public:
  static inline std::vector<int> answers;
  static inline std::vector<UInt16> modifiers;
  static inline bool alertAtStart = false;
  bool refuseQuit = false;
  void CreateDocument() override {
    if (alertAtStart) answers.push_back(PortAlert(2099));
  }
  void DoCommand(long command) override {
    if (command >= 2000 && command < 2100) {
      answers.push_back(PortAlert(SInt16(command)));
      return;
    }
    if (command == 7100) {
      while (!PortButton()) {
      }
      return;
    }
    CApplication::DoCommand(command);
  }
  void DoKeyDown(char c, UInt8, EventRecord* event) override { modifiers.push_back(event->modifiers); }
  Boolean RequestQuit() override { return refuseQuit ? false : CApplication::RequestQuit(); }
};

class HeadlessRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vlres::ResetResourceChain();
    ScriptedApp::answers.clear();
    ScriptedApp::modifiers.clear();
    ScriptedApp::alertAtStart = false;
    log = std::tmpfile();
  }
  void TearDown() override {
    std::fclose(log);
    vlalert::ClearLog();
  }
  int Run(const std::string& text, bool refuseQuit = false) {
    std::ofstream(path) << text;
    return vlheadless::RunScript(path.string(), [&] {
      auto* app = new ScriptedApp;
      app->refuseQuit = refuseQuit;
      app->IApplication(150, 45000, 40000, 20000);
      return app;
    }, log);
  }
  std::string Log() {
    std::rewind(log);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, log)) text += buffer;
    return text;
  }
  vltest::TempFolder temp;
  std::filesystem::path path = temp.Path("script.vls");
  std::FILE* log = nullptr;
};

TEST_F(HeadlessRunTest, AnswersGoToTheirAlertsAndExpectationsFollowTheLog) {
  EXPECT_EQ(Run("answer alert 2002 3\nanswer alert 2001 2\ncommand 2001\ncommand 2001\ncommand 2002\n"
                "expect alert 2001\nexpect alert 2001\nexpect alert 2002\n"),
            vlheadless::kStatusOk)
      << Log();
  EXPECT_EQ(ScriptedApp::answers, (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(Log(), "");
}

TEST_F(HeadlessRunTest, AnswersAtTheTopReachAlertsShownWhileStarting) {
  ScriptedApp::alertAtStart = true;  // the first pass makes a new document, which shows 2099
  EXPECT_EQ(Run("answer alert 2099 2\nexpect alert 2099\n"), vlheadless::kStatusOk) << Log();
  EXPECT_EQ(ScriptedApp::answers, (std::vector<int>{2}));
}

TEST_F(HeadlessRunTest, FailedExpectationsAreReportedAndFailTheRun) {
  EXPECT_EQ(Run("command 2001\nexpect alert 2002\nexpect alert 2001\nanswer alert 2050 1\n"),
            vlheadless::kStatusExpectFailed);
  std::string text = Log();
  EXPECT_NE(text.find(":2: expected alert 2002, but the next alert was 2001"), std::string::npos) << text;
  EXPECT_NE(text.find(":3: expected alert 2001, but no further alert was shown"), std::string::npos) << text;
  EXPECT_NE(text.find(":4: warning: alert 2050 was never shown"), std::string::npos) << text;
}

TEST_F(HeadlessRunTest, ComparisonsThatCannotHoldFailTheRunAndLeaveTheActualPicture) {
  temp.PointVariable("VELMORA_GOLDEN_OUTPUT", "output");
  EXPECT_EQ(Run("compare dialog d.png\ncompare window \"Plan\" w.png\ncompare screen golden/none.png\n"),
            vlheadless::kStatusExpectFailed);
  const std::string text = Log();
  EXPECT_NE(text.find(":1: no dialog is shown"), std::string::npos) << text;
  EXPECT_NE(text.find(":2: no window \"Plan\" is shown"), std::string::npos) << text;
  // The golden is looked for beside the script; the picture the screen showed is kept.
  EXPECT_NE(text.find(":3: " + temp.Path("golden/none.png")), std::string::npos) << text;
  EXPECT_NE(text.find("VELMORA_RECORD_GOLDENS=1 records it"), std::string::npos) << text;
  EXPECT_TRUE(std::filesystem::exists(temp.Path("output/none.actual.png")));
}

TEST_F(HeadlessRunTest, KeysCarryTheirModifiersOnlyForTheirOwnLine) {
  EXPECT_EQ(Run("key a shift option\nkey b\n"), vlheadless::kStatusOk);
  // Each key line gives a key-down (and a key-up, not seen by DoKeyDown).
  EXPECT_EQ(ScriptedApp::modifiers, (std::vector<UInt16>{shiftKey | optionKey, 0}));
}

TEST_F(HeadlessRunTest, AProgramThatDoesNotQuitIsEnded) {
  EXPECT_EQ(Run("command 2001\n", true), vlheadless::kStatusNoQuit);
  EXPECT_NE(Log().find("the program did not quit at the end of the script"), std::string::npos);
}

TEST_F(HeadlessRunTest, AProgramWaitingForInputThatNeverComesIsEnded) {
  EXPECT_EQ(Run("command 7100\n"), vlheadless::kStatusNoQuit);
  EXPECT_NE(Log().find("the program waits for input the script does not give"), std::string::npos);
}

TEST_F(HeadlessRunTest, AnUnreadableScriptDoesNotStartTheProgram) {
  bool made = false;
  int status = vlheadless::RunScript("/nonexistent/x.vls", [&]() -> CApplication* {
    made = true;
    return nullptr;
  }, log);
  EXPECT_EQ(status, vlheadless::kStatusBadScript);
  EXPECT_FALSE(made);
  std::ofstream(path) << "command 1\n";
  EXPECT_EQ(vlheadless::RunScript(path.string(), [] { return static_cast<CApplication*>(nullptr); }, log),
            vlheadless::kStatusStartFailed);
}

}  // namespace
