// What the units and grids dialog's OK gives the views layer: the snap spacing to the locator of
// every pane of the document, sub-windows included, and the grid's size and spacing to the grid,
// the north arrow and the main pane's crosshair.
#include <gtest/gtest.h>

#include "PaneDocumentFixture.h"
#include "VLCrosshairCursor.h"
#include "VLGrid.h"
#include "VLNorthArrow.h"
#include "VLPaneDocumentViews.h"
#include "VLSubWindow.h"
#include "VLUnitsDLOGDirector.h"
#include "VLViewPane.h"

namespace {

class UnitsCommand : public PaneDocumentFixture {
 protected:
  void SetUp() override {
    PaneDocumentFixture::SetUp();
    ASSERT_NE(document, nullptr);
    views = dynamic_cast<VLPaneDocumentViews*>(document->GetViews());
    ASSERT_NE(views, nullptr);
    ASSERT_NE(views->pane, nullptr);
  }
  VLPaneDocumentViews* views = nullptr;
};

TEST_F(UnitsCommand, EveryPaneTakesTheSnapAndTheMainPaneTheGrid) {
  for (int i = 0; i < 2; ++i) {
    document->DoCommand(8000);
    Pump();
  }
  ASSERT_EQ(views->DocumentPanes().size(), 3u);
  // Snap 2 feet, grid spacing 4 feet, grid size 80 feet.
  input.Replace("2");
  input.Tab();
  input.Replace("4");
  input.Tab();
  input.Replace("80");
  input.Return();
  document->DoCommand(VLDocument::cmdUnitsAndGrids);
  for (VLViewPane* pane : views->DocumentPanes()) EXPECT_EQ(pane->crosshair->snapSpacing, 2.0);
  EXPECT_EQ(views->grid->GetHalfSize(), 40.0);
  EXPECT_EQ(views->grid->GetSpacing(), 4.0);
  // The north arrow stands at the grid's corner, as large as a spacing.
  EXPECT_EQ(views->northArrow->offset, 40.0);
  EXPECT_EQ(views->northArrow->halfWidth, 2.0);
  const SInt16 extent[6] = {-40, -40, 0, 40, 40, 80};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(views->pane->crosshair->extent[i], extent[i]) << i;
  EXPECT_EQ(views->GetDuplicateOffset(), (Vector3d{4.0, 4.0, 0.0}));

  // A view window opened afterwards snaps alike.
  document->DoCommand(8000);
  Pump();
  ASSERT_EQ(views->DocumentPanes().size(), 4u);
  EXPECT_EQ(views->DocumentPanes().back()->crosshair->snapSpacing, 2.0);
}

}  // namespace
