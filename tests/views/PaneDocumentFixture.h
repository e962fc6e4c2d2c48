#pragma once
// A document fixture whose new documents have real view panes, with one new document in front.

#include <gtest/gtest.h>

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

  VLDocument* document = nullptr;
};
