// A finished task handed to the document goes up the chain to the application, which keeps it as
// the one last undoable task: the Edit menu's Undo item names it, alternates between Undo and
// Redo, and starts again at Undo for the next task, which disposes of the previous one once.
#include <gtest/gtest.h>

#include <string>

#include "CMenuManager.h"
#include "CTask.h"
#include "Commands.h"
#include "DocumentTestSupport.h"

namespace {

// A task that counts its undos, redos and disposals.
struct CountingTask : CTask {
  static inline int disposed = 0;
  int undos = 0;
  int redos = 0;
  explicit CountingTask(SInt16 name) { Init(name); }
  void Undo() override {
    ++undos;
    CTask::Undo();
  }
  void Redo() override {
    ++redos;
    CTask::Undo();
  }
  void Dispose() override {
    ++disposed;
    CTask::Dispose();
  }
};

std::string UndoText() {
  gApplication->UpdateMenus();
  Str255 text;
  gMenuManager->GetCommandText(cmdUndo, text);
  return text.Std();
}

}  // namespace

using UndoChainTest = DocumentFixture;

TEST_F(UndoChainTest, TheUndoItemNamesTheLastTaskAndAlternatesUntilTheNextTaskDisposesOfIt) {
  VLDocument* document = NewDocument();
  ASSERT_NE(document, nullptr);
  Pump();
  CountingTask::disposed = 0;
  EXPECT_EQ(UndoText(), "Undo ");

  auto* remove = new CountingTask(4);  // string 4 of the task names: "Delete"
  document->Notify(remove);
  EXPECT_TRUE(document->IsChanged());
  EXPECT_EQ(app->GetLastTask(), remove);
  EXPECT_EQ(UndoText(), "Undo Delete");
  app->DoCommand(cmdUndo);
  EXPECT_EQ(remove->undos, 1);
  EXPECT_EQ(UndoText(), "Redo Delete");
  app->DoCommand(cmdUndo);
  EXPECT_EQ(remove->redos, 1);
  EXPECT_EQ(UndoText(), "Undo Delete");
  app->DoCommand(cmdUndo);
  EXPECT_EQ(UndoText(), "Redo Delete");

  // A new task: the old one goes once, and the item reads Undo again.
  auto* group = new CountingTask(11);
  document->Notify(group);
  EXPECT_EQ(CountingTask::disposed, 1);
  EXPECT_EQ(UndoText(), "Undo Group");
  app->DoCommand(cmdUndo);
  EXPECT_EQ(group->undos, 1);  // the new task's undo, not the old one's redo

  // A null notice drops the last task: nothing is left to undo.
  document->Notify(nullptr);
  EXPECT_EQ(CountingTask::disposed, 2);
  EXPECT_EQ(app->GetLastTask(), nullptr);
  EXPECT_EQ(UndoText(), "Undo ");
  EXPECT_FALSE(gMenuManager->IsCommandEnabled(cmdUndo));
}
