// The open-dialog stack: dialogs nest, the innermost one gets the messages, and the one before
// it gets them again once it is gone.
#include <string>
#include <vector>

#include "DialogBase.h"
#include "WinDialogTestSupport.h"

namespace {

constexpr SInt16 kListDialog = 107;  // OK, Cancel and a list

class RecordingDialog : public DialogBase {
 public:
  RecordingDialog(std::string name, std::vector<std::string>* log) : name(std::move(name)), log(log) {}

  Boolean Init(HWND) override {
    log->push_back(name + " init, open " + std::to_string(gOpenDialogCount));
    return true;
  }
  Boolean Command(HWND dialog, int id, HWND, int) override {
    log->push_back(name + " " + std::to_string(id));
    if (id == IDOK && name == "outer") {
      RecordingDialog inner("inner", log);
      log->push_back(inner.RunModal(dialog, kListDialog) ? "inner ended 1" : "inner ended 0");
      return true;
    }
    EndDialog(dialog, id == IDOK ? 1 : 0);
    return true;
  }

  std::string name;
  std::vector<std::string>* log;
};

class DialogBaseTest : public WinDialogFixture {};

TEST_F(DialogBaseTest, ADialogOpenedInAnotherGetsTheMessagesUntilItIsGone) {
  std::vector<std::string> log;
  {
    RecordingDialog outer("outer", &log);
    EXPECT_EQ(gCurrentDialog, &outer);
    ClickItem(1);  // the outer OK opens the inner dialog
    ClickItem(1);  // the inner OK ends it
    ClickItem(2);  // the outer Cancel
    EXPECT_FALSE(outer.RunModal(nullptr, kListDialog));
    EXPECT_EQ(gCurrentDialog, &outer);
  }
  EXPECT_EQ(gCurrentDialog, nullptr);
  EXPECT_EQ(gOpenDialogCount, 0);
  const std::vector<std::string> expected = {"outer init, open 1", "outer 1", "inner init, open 2", "inner 1",
                                             "inner ended 1", "outer 2"};
  EXPECT_EQ(log, expected);
}

TEST_F(DialogBaseTest, AMissingTemplateRunsNothingAndEndsFalse) {
  std::vector<std::string> log;
  RecordingDialog dialog("lone", &log);
  EXPECT_FALSE(dialog.RunModal(nullptr, 999));
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(vlui::FrontDialog(), nullptr);
}

TEST_F(DialogBaseTest, TheDialogProcedureAnswersWhetherTheDialogHandledTheMessage) {
  std::vector<std::string> log;
  RecordingDialog dialog("only", &log);
  EXPECT_EQ(DialogBase::DialogProc(nullptr, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0), 1);
  EXPECT_EQ(DialogBase::DialogProc(nullptr, WM_VSCROLL, 0, 0), 0);
  EXPECT_EQ(DialogBase::DialogProc(nullptr, 0x1234, 0, 0), 0);
  EXPECT_EQ(log, std::vector<std::string>{"only 7"});
}

}  // namespace
