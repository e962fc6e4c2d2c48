#include "CProgressDialog.h"

#include <cmath>

#include "Controls.h"
#include "Cursors.h"
#include "Events.h"
#include "Menus.h"
#include "PString.h"
#include "Resources.h"
#include "Screen.h"
#include "Ticks.h"
#include "ToolboxUtilities.h"
#include "Windows.h"

CProgressDialog* gProgressDialog = nullptr;
UInt8 gProgressContinue = 1;
UInt8 gWireframeContinue = 1;

namespace {

constexpr SInt16 kStopEnabled = 0;
constexpr SInt16 kStopHighlighted = 1;
constexpr UInt32 kStopFlashTicks = 8;

// The band boundaries of the sort job.
constexpr double kSubmissionShare = 0.33;
constexpr double kSubmissionEnd = 0.333;
constexpr double kSortingStart = 0.33;
constexpr double kPaintingStart = 0.67;
constexpr double kPaintingShare = 0.33;

// "Sorting Polygons " and the ellipsis (Mac Roman 0xC9).
const unsigned char kSortingMessage[] = "\x12Sorting Polygons \xC9";

// The dialog's port is current on the device noted when it was made while this lives; the
// caller's port and device come back after.
class DialogPortScope {
 public:
  DialogPortScope(DialogPtr dialog, GDHandle device) {
    PortGetWorld(&savedPort_, &savedDevice_);
    PortSetWorld(dialog, device);
  }
  ~DialogPortScope() { PortSetWorld(savedPort_, savedDevice_); }
  DialogPortScope(const DialogPortScope&) = delete;
  DialogPortScope& operator=(const DialogPortScope&) = delete;

 private:
  CGrafPtr savedPort_ = nullptr;
  GDHandle savedDevice_ = nullptr;
};

void HiliteItem(DialogPtr dialog, SInt16 item, SInt16 state) {
  ControlHandle control = nullptr;
  if (PortGetDialogItemAsControl(dialog, item, &control)) PortHiliteControl(control, state);
}

Rect ItemBox(DialogPtr dialog, SInt16 item) {
  SInt16 kind = 0;
  Handle handle = nullptr;
  Rect box;
  PortGetDialogItem(dialog, item, &kind, &handle, &box);
  return box;
}

// count / total within 0..1; a band without a total is complete.
double BandRatio(SInt32 count, SInt32 total) {
  if (total <= 0) return 1.0;
  const double ratio = double(count) / double(total);
  return ratio < 0.0 ? 0.0 : ratio > 1.0 ? 1.0 : ratio;
}

// A redraw modulus of 0 or less would divide by zero: every count redraws instead.
SInt32 SafeModulus(SInt32 modulus) { return modulus < 1 ? 1 : modulus; }

}  // namespace

CProgressDialog::~CProgressDialog() {
  if (dialog) PortCloseDialog(dialog);
  dialog = nullptr;
}

void CProgressDialog::OpenDialog() {
  gProgressContinue = 1;
  gWireframeContinue = 1;
  wireActive = submitActive = sortActive = paintActive = 0;
  wireShown = sortShown = 0;
  CGrafPtr savedPort = nullptr;
  PortGetWorld(&savedPort, &device);
  if (!dialog) dialog = PortNewDialog(kProgressDialogId, nullptr, kFirstWindowOfClass);
  if (dialog) PortSetWRefCon(dialog, 0);
  PortSetWorld(savedPort, device);
}

void CProgressDialog::SetBusy() { busy = 1; }
void CProgressDialog::ClearBusy() { busy = 0; }
Boolean CProgressDialog::IsShowing() { return busy != 0; }
Boolean CProgressDialog::IsOpen() { return sortShown || wireShown; }

void CProgressDialog::SetMessage(ConstStringPtr message) {
  if (!dialog) return;
  DialogPortScope scope(dialog, device);
  SInt16 kind = 0;
  Handle text = nullptr;
  Rect box;
  PortGetDialogItem(dialog, kProgressMessageItem, &kind, &text, &box);
  if (text) PortSetDialogItemText(text, message);
}

void CProgressDialog::Show() {
  if (!dialog) return;
  DialogPortScope scope(dialog, device);
  Rect place = dialog->content;
  Rect screen;
  PortGetScreenBounds(&screen);
  PositionRectOnScreen(&place, &screen, PortMenuBarHeight());
  PortMoveWindow(dialog, place.left, place.top, false);

  barRect = ItemBox(dialog, kProgressBarItem);
  barWidth = SInt16(barRect.right - barRect.left);

  HiliteItem(dialog, kProgressStopItem, kStopEnabled);
  PortShowHide(dialog, true);
  PortSelectWindow(dialog);
  PortDrawDialog(dialog);
  if (!submitActive && !sortActive && !paintActive)
    wireShown = 1;
  else
    sortShown = 1;

  PortForeColor(blackColor);
  PortBackColor(whiteColor);
  PortFrameRect(&barRect);
  PortInitCursor();
}

void CProgressDialog::Hide() {
  if (!dialog) return;
  DialogPortScope scope(dialog, device);
  HiliteItem(dialog, kProgressStopItem, kControlInactive);
  PortShowHide(dialog, false);
  PortFlushEvents(everyEvent, 0);
  wireShown = 0;
}

Boolean CProgressDialog::Update(double fraction) {
  if (!dialog) return false;
  DialogPortScope scope(dialog, device);
  PortForeColor(blackColor);
  PortBackColor(whiteColor);

  // Overshooting counts and callers that pass more than the whole fill the bar, no more; the
  // filled part stays inside the frame.
  if (!(fraction > 0.0)) fraction = 0.0;
  if (fraction > 1.0) fraction = 1.0;
  const SInt16 length = SInt16(barWidth * fraction);
  Rect filled{SInt16(barRect.top + 1), SInt16(barRect.left + 1), SInt16(barRect.bottom - 1),
              SInt16(barRect.left + length)};
  if (filled.right > barRect.right - 1) filled.right = SInt16(barRect.right - 1);
  PortFrameRect(&barRect);
  PortPenPattern(&qd.gray);
  PortPaintRect(&filled);
  PortPenNormal();

  bool stop = CommandPeriodPending();
  EventRecord press;
  if (!stop && PortEventAvail(mDownMask, &press)) {
    Point where = press.where;
    PortGlobalToLocal(&where);
    const Rect stopBox = ItemBox(dialog, kProgressStopItem);
    stop = PortPtInRect(where, &stopBox);
  }
  if (!stop) return true;
  HiliteItem(dialog, kProgressStopItem, kStopHighlighted);
  PortDelay(kStopFlashTicks, nullptr);
  HiliteItem(dialog, kProgressStopItem, kStopEnabled);
  return false;
}

// ---- Jobs ----

void CProgressDialog::StartJob(SInt32 modulus, SInt16 ticks, SInt32 start, SInt16 messageIndex) {
  redrawModulus = modulus;
  delay = ticks;
  startTick = start;
  Str255 message;
  PortGetListString(message, kProgressStrings, messageIndex);
  SetMessage(message);
}

void CProgressDialog::BeginSortJob(SInt32 modulus, SInt16 ticks, SInt32 start) {
  submitActive = 1;
  wireActive = 0;
  gProgressContinue = 1;
  submitCount = 0;
  StartJob(modulus, ticks, start, kProgressSubmittingMessage);
  sortShown = 0;
}

void CProgressDialog::BeginWireframeJob(SInt32 modulus, SInt16 ticks, SInt32 start) {
  wireActive = 1;
  submitActive = 0;
  gWireframeContinue = 1;
  wireCount = 0;
  StartJob(modulus, ticks, start, kProgressWireframeMessage);
  wireShown = 0;
}

void CProgressDialog::EndSortJob() {
  submitActive = sortActive = paintActive = 0;
  gProgressContinue = 1;
  if (sortShown) {
    sortShown = 0;
    Hide();
  }
}

void CProgressDialog::EndWireframeJob() {
  wireActive = 0;
  gWireframeContinue = 1;
  if (wireShown) {
    wireShown = 0;
    Hide();
  }
}

void CProgressDialog::SetSubmissionTotal(SInt32 count) {
  if (submitActive) submitTotal = count;
}

void CProgressDialog::SetWireframeTotal(SInt32 count) {
  if (wireActive) wireTotal = count;
}

void CProgressDialog::AddSubmissionTotal(SInt32 count) {
  if (submitActive) submitTotal += count;
}

void CProgressDialog::AddFirstPhaseTotal(SInt32 count) {
  if (sortActive) sortTotal += count;
}

void CProgressDialog::AddSecondPhaseTotal(SInt32 count) {
  if (paintActive) paintTotal += count;
}

// ---- Counting ----

bool CProgressDialog::DelayPassed() const { return SInt32(PortTickCount() - UInt32(startTick)) >= delay; }

void CProgressDialog::ShowWhenDue(double fraction) {
  if (IsOpen() || !DelayPassed()) return;
  Show();
  // The first drawing of the bar only shows where the job stands; a stop is looked for at the
  // next redraw.
  Update(fraction);
}

void CProgressDialog::CountUnit(SInt32 count, SInt32 total, SInt32 modulus, UInt8 shownForJob, double fraction,
                                double firstFraction, UInt8* continueFlag) {
  if (!IsOpen()) {
    ShowWhenDue(firstFraction);
    return;
  }
  if (count < total && count % SafeModulus(modulus) != 0) return;
  if (shownForJob && !Update(fraction)) *continueFlag = 0;
}

void CProgressDialog::StepWireframeObject() {
  if (!wireActive) return;
  ++wireCount;
  const double ratio = BandRatio(wireCount, wireTotal);
  CountUnit(wireCount, wireTotal, redrawModulus, wireShown, ratio, ratio, &gWireframeContinue);
}

void CProgressDialog::StepFaceSubmission() {
  if (!submitActive) return;
  ++submitCount;
  const double ratio = BandRatio(submitCount, submitTotal);
  CountUnit(submitCount, submitTotal, redrawModulus, sortShown, kSubmissionEnd * ratio, kSubmissionShare * ratio,
            &gProgressContinue);
}

void CProgressDialog::Step() {
  if (!sortActive) return;
  ++sortCount;
  const double fraction = kSortingStart * (BandRatio(sortCount, sortTotal) + 1.0);
  CountUnit(sortCount, sortTotal, sortModulus, sortShown, fraction, fraction, &gProgressContinue);
}

void CProgressDialog::StepSecondPhase() {
  if (!paintActive) return;
  ++paintCount;
  const double fraction = kPaintingStart + kPaintingShare * BandRatio(paintCount, paintTotal);
  CountUnit(paintCount, paintTotal, sortModulus, sortShown, fraction, fraction, &gProgressContinue);
}

void CProgressDialog::StartFirstPhase(SInt32 total, SInt16 modulus) {
  if (!submitActive) return;
  submitActive = 0;
  sortCount = 0;
  sortTotal = total;
  sortActive = 1;
  sortModulus = modulus;
  SetMessage(kSortingMessage);
  ShowWhenDue(kSortingStart);
}

void CProgressDialog::StartSecondPhase(SInt32 total) {
  if (!sortActive) return;
  sortActive = 0;
  paintActive = 1;
  paintTotal = total;
  paintCount = 0;
  Str255 message;
  PortGetListString(message, kProgressStrings, kProgressPaintingMessage);
  SetMessage(message);
  ShowWhenDue(kPaintingStart);
}
