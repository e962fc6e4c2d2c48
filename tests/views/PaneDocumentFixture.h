#pragma once
// A document fixture whose new documents have real view panes, with one new document in front.

#include <gtest/gtest.h>

#include <vector>

#include "CMenuManager.h"
#include "DocumentTestSupport.h"
#include "VLPaneDocumentViews.h"

class PaneDocumentFixture : public DocumentFixture {
 protected:
  void SetUp() override {
    DocumentFixture::SetUp();
    InstallPaneDocumentViews();
    OpenNewDocument();
  }
  // A new document in front, the events its window made handled.
  void OpenNewDocument() {
    document = NewDocument();
    ASSERT_NE(document, nullptr);
    Pump();
  }
  // The commands of the list that the menus show enabled (or checked) after an update.
  std::vector<long> Enabled(const std::vector<long>& commands) {
    return Shown(commands, [](long command) { return gMenuManager->IsCommandEnabled(command); });
  }
  std::vector<long> Checked(const std::vector<long>& commands) {
    return Shown(commands, [](long command) { return gMenuManager->IsCommandChecked(command); });
  }
  template <typename Test>
  std::vector<long> Shown(const std::vector<long>& commands, Test shown) {
    app->UpdateAllMenus();
    std::vector<long> kept;
    for (long command : commands)
      if (shown(command)) kept.push_back(command);
    return kept;
  }

  VLDocument* document = nullptr;
};
