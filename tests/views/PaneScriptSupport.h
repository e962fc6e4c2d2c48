// The whole program run headless on a script of tests/views/scripts, with native documents of the
// test's own document class (its commands, numbered from 90000, act on the model and note what
// they see) and the view layer's windows and panes. A destroyed current pane and object list
// leave nothing behind.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "AlertSink.h"
#include "AppResources.h"
#include "ApplicationMain.h"
#include "FileTypes.h"
#include "ObjectList.h"
#include "Resources.h"
#include "ShellStartup.h"
#include "TempFolder.h"
#include "VLApplication.h"
#include "VLDocument.h"
#include "VLPaneDocumentViews.h"
#include "VLUser3DObject.h"
#include "ViewTestSupport.h"
#include "headless/HeadlessBackend.h"

// A box from lo to hi, read from its text record with its faces oriented, appended to the
// document's object list.
inline VLUser3DObject* AppendBox(VLArray* list, Vector3d lo, Vector3d hi) {
  auto* box = new VLUser3DObject;
  std::istringstream in(BoxRecord(lo, hi));
  box->ReadText(in, 1.0, '\n');
  box->OrientFaces();
  list->AppendPointer(box);
  gObjectCount = SInt32(list->GetNumItems());
  return box;
}

// Every model object out of the list and disposed; the planes stay.
inline void RemoveModelObjects(VLArray* list) {
  while (list->GetNumItems() >= VLDocument::kFirstModelObject) {
    auto* last = static_cast<VLUser3DObject*>(list->PointerAt(list->GetNumItems()));
    if (last->selected) last->Deselect();
    list->DeleteItem(list->GetNumItems());
    last->Dispose();
  }
  gObjectCount = SInt32(list->GetNumItems());
}

class PaneScriptFixture : public ::testing::Test {
 protected:
  explicit PaneScriptFixture(DocumentMaker maker) : maker_(maker) {}

  void SetUp() override {
    vlres::ResetResourceChain();
    vlres::InstallApplicationResources();
    PortSetFileTypes(gFileTypeTable, nullptr);
    savedMaker_ = gNativeDocumentMaker;
    savedViews_ = gDocumentViewsMaker;
    gNativeDocumentMaker = maker_;
    InstallPaneDocumentViews();
  }
  void TearDown() override {
    gNativeDocumentMaker = savedMaker_;
    gDocumentViewsMaker = savedViews_;
    vlres::ResetResourceChain();
    vlalert::ClearLog();
    EXPECT_EQ(gCurrentViewPane, nullptr) << "a destroyed current pane leaves none behind";
    EXPECT_EQ(gCurrentObjectList, nullptr);
  }
  // Runs the script of that name; its exit status.
  int Run(const std::string& name) {
    const std::filesystem::path script = std::filesystem::path(VL_SOURCE_DIR) / "tests" / "views" / "scripts" / name;
    const int status = vlheadless::RunScript(script.string(), [&]() -> CApplication* { return StartApplication(); });
    FreeWorkBlocks();
    return status;
  }

  vltest::TempFolder temp;
  vltest::TempFolder config;
  const std::string configHome = config.UseAsConfigHome();

 private:
  DocumentMaker maker_;
  DocumentMaker savedMaker_ = nullptr;
  DocumentViewsMaker savedViews_ = nullptr;
};
