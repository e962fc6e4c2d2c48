// The view pane drawn elsewhere than into its window: onto a printed page, at the page's size,
// and into a recorded picture at a scale of the pane. Both draw the pane's layers straight into
// the current port, stop after the object at which the user pressed command-period, and give
// the view transform and the pane back their own size afterwards.
#include <cmath>

#include "CShadowCaster.h"
#include "DETException.h"
#include "Memory.h"
#include "Printing.h"
#include "Resources.h"
#include "ToolboxUtilities.h"
#include "Unwinding.h"
#include "VLDepthBuffer.h"
#include "VLDocument.h"
#include "VLUser3DObject.h"
#include "VLViewPane.h"
#include "VLViewTransform.h"
#include "ViewDrawingFlags.h"

namespace {

// Picture comments: the line width printers that understand it draw hairlines with, and the
// scale of a parallel view's picture (pane units per inch of the model).
constexpr SInt16 kLineWidthComment = 182;
constexpr SInt16 kLineWidthNumerator = 1, kLineWidthDenominator = 5;
constexpr SInt16 kPictureScaleComment = 499;
constexpr double kPointsPerFoot = 864.0;  // 72 points times 12

// The printed caption: string 5 of the application menu's strings, in font 21.
constexpr SInt16 kCaptionStrings = 1800;
constexpr SInt16 kCaptionItem = 5;
constexpr SInt16 kCaptionFont = 21;

void Comment(SInt16 kind, const void* data) {
  Handle block = PortAllocHandle(4);
  if (!block) return;
  const auto* bytes = static_cast<const char*>(data);
  for (int i = 0; i < 4; ++i) (*block)[i] = bytes[i];
  PortPicComment(kind, 4, block);
  PortFreeHandle(block);
}

// Gives the pane its own size back however a draw at another size ends.
class OwnSizeBack {
 public:
  explicit OwnSizeBack(VLViewPane* pane) : pane_(pane) {}
  ~OwnSizeBack() {
    pane_->viewTransform->ResizePane(SInt16(pane_->paneRect.right - pane_->paneRect.left),
                                     SInt16(pane_->paneRect.bottom - pane_->paneRect.top));
    pane_->MarkObjectsChanged();
    pane_->InvalidateGrids();
    pane_->redrawNeeded = 0;
  }
  OwnSizeBack(const OwnSizeBack&) = delete;
  OwnSizeBack& operator=(const OwnSizeBack&) = delete;

 private:
  VLViewPane* pane_;
};

}  // namespace

// ---- Printing ----

void VLViewPane::DrawForPrinting(const Rect* page) {
  Rect L = lastUpdate;
  const SInt16 lineWidth[2] = {kLineWidthNumerator, kLineWidthDenominator};
  Comment(kLineWidthComment, lineWidth);
  {
    OwnSizeBack back(this);
    viewTransform->ResizePane(page->right, page->bottom);
    MarkObjectsChanged();
    // The shadow caster's own drawing comes with it: in shadow mode the page shows no view yet.
    if (!gShadowMode) {
      InvalidateGrids();
      redrawNeeded = 1;
      gDirectDrawing = !gShadedMode && !gHiddenLineMode ? 1 : 0;
      Prepare();
      DrawBackgroundImage();
      DrawGrids(&L);
      DrawAdornments(&L);
      DrawObjectsUntilStopped(&L);
    }

    Str255 caption;
    PortGetListString(caption, kCaptionStrings, kCaptionItem);
    PortTextFont(kCaptionFont);
    PortTextSize(SInt16(page->bottom / 30));
    PortPenMove(0, SInt16(page->bottom / 25 + 5));
    PortDrawString(caption);
  }
  lastUpdate = L;
}

void VLViewPane::DrawObjectsUntilStopped(Rect* L) {
  VLArray* objects = document ? document->GetObjectList() : nullptr;
  if (objects) gCurrentObjectList = objects;
  if (!gDirectDrawing && gDepthBuffer) {
    gDepthBuffer->ResetList();
    gDepthBuffer->SetActiveView(viewTransform, document ? document->GetGroundPlaneVisible() : 0);
  }
  for (long i = 1; objects && i <= objects->GetNumItems(); ++i) {
    if (CommandPeriodPending()) {
      // A stopped print finishes this page and prints no more.
      if (gPrintingView) PortPrSetError(iPrAbort);
      break;
    }
    auto* object = static_cast<VLUser3DObject*>(objects->PointerAt(i));
    if (object && !(selectedOnly && !object->selected)) object->Draw(viewTransform, L);
  }
  if (!gDirectDrawing) PaintDepthBuffer();
}

// ---- Pictures ----

void VLViewPane::DrawPicture(PicHandle* picture, Boolean selected, float scale) {
  drawingIntoPicture = 1;
  selectedOnly = selected ? 1 : 0;
  pictureScale = scale;
  CatchFailures([&] { Refresh(); },
                [&](std::exception_ptr failure) {
                  drawingIntoPicture = selectedOnly = 0;
                  std::rethrow_exception(failure);
                });
  drawingIntoPicture = selectedOnly = 0;
  *picture = recordedPicture;
  recordedPicture = nullptr;
}

void VLViewPane::DrawIntoPicture(const Rect*) {
  Rect L = lastUpdate;
  Prepare();
  const auto W = SInt16(std::lround((paneRect.right - paneRect.left) * double(pictureScale)));
  const auto H = SInt16(std::lround((paneRect.bottom - paneRect.top) * double(pictureScale)));
  const Rect frame = paneRect;
  const Rect picturePane{0, 0, H, W};

  GrafPtr savedPort = nullptr;
  PortGetPort(&savedPort);
  GWorldPtr temporary = nullptr;
  bool recording = false;
  const auto restore = [&] {
    gScaledDrawing = 0;
    if (recording) PortClosePicture();
    recording = false;
    PortSetPort(savedPort);
    if (temporary) PortFreeOffscreen(temporary);
    temporary = nullptr;
    paneRect = frame;
    viewTransform->ResizePane(SInt16(frame.right - frame.left), SInt16(frame.bottom - frame.top));
    InvalidateGrids();
    MarkObjectsChanged();
    gViewScrolled = 0;
    redrawNeeded = 0;
  };
  CatchFailures(
      [&] {
        gScaledDrawing = 1;
        paneRect = picturePane;
        viewTransform->ResizePane(W, H);
        InvalidateGrids();
        MarkObjectsChanged();
        if (W < 1 || H < 1 || PortNewOffscreen(&temporary, 32, &picturePane, nullptr, nullptr, 0) != noErr)
          ThrowIfOSErr(memFullErr, kDEErrorErrorWritingFile);
        PortSetPort(temporary);
        PortSetOrigin(0, 0);
        PortClipRect(&picturePane);
        recordedPicture = PortOpenPicture(&picturePane);
        if (!recordedPicture) ThrowIfOSErr(memFullErr, kDEErrorErrorWritingFile);
        recording = true;
        if (!viewTransform->perspective) {
          const double windowWidth = (viewTransform->umax - viewTransform->umin) * (viewTransform->x1 - viewTransform->x0);
          const UInt32 value = PortDoubleToCommentFixed(double(W) / (kPointsPerFoot * windowWidth));
          Comment(kPictureScaleComment, &value);
        }
        // The shadow caster's own drawing comes with it: in shadow mode the picture is empty.
        if (!gShadowMode) {
          gDirectDrawing = !gShadedMode && !gHiddenLineMode ? 1 : 0;
          DrawBackgroundImage();
          DrawGrids(&L);
          DrawAdornments(&L);
          DrawObjectsUntilStopped(&L);
        }
        PortClosePicture();
        recording = false;
      },
      [&](std::exception_ptr failure) {
        const bool begun = recording;
        restore();
        if (begun && recordedPicture) {
          PortKillPicture(recordedPicture);
          recordedPicture = nullptr;
        }
        try {
          std::rethrow_exception(failure);
        } catch (DETException&) {
          throw;
        } catch (...) {
          ThrowIfOSErr(ioErr, kDEErrorErrorWritingFile);
        }
      });
  restore();
  lastUpdate = L;
}
