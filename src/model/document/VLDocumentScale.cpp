// Scaling the selection by percentages: the dialog that asks for them and the command that hands
// them to the views layer's undoable scale.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "CTask.h"
#include "SettingsDialog.h"
#include "Alerts.h"
#include "VLDocument.h"
#include "VLDocumentViews.h"
#include "Vector3d.h"
#include "WatchCursor.h"

namespace {

constexpr SInt16 kScaleDialog = 1023;
constexpr SInt16 kScaleName = 7;

enum : SInt16 { kYItem = 3, kXItem = 4, kZItem = 5 };

// A hundredth of a percent is the least the dialog shows; the most keeps a model of any size
// within what coordinates can hold. Zero, negative and non-finite factors would flatten or turn
// objects inside out, and are refused with the rest.
constexpr double kLeastPercent = 0.01;
constexpr double kMostPercent = 1000000.0;

// The factor a typed percentage gives: the whole text a number (blanks around it allowed) in
// range; false otherwise.
bool FactorFromPercent(const Str255& typed, double* factor) {
  const std::string text = PStrToStd(typed);
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double percent = std::strtod(start, &end);
  if (end == start || errno == ERANGE) return false;
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0' || !(percent >= kLeastPercent && percent <= kMostPercent)) return false;
  *factor = percent * 0.01;
  return true;
}

}  // namespace

Boolean VLDocument::RunScaleDialog(Vector3d* factors) {
  SettingsDialog frame(kScaleDialog, SettingsDialog::Placement::kThirdDown);
  if (!frame.Get()) return false;
  char shown[32];
  std::snprintf(shown, sizeof shown, "%5.2Lf", 100.0L);
  for (SInt16 item : {kYItem, kXItem, kZItem}) frame.SetText(item, Str255(shown));
  frame.SelectText(kYItem);
  frame.Show();
  while (frame.RunToOKOrCancel()) {
    Vector3d read;
    double* into[] = {&read.y, &read.x, &read.z};
    SInt16 wrong = 0;
    for (SInt16 item : {kYItem, kXItem, kZItem}) {
      Str255 typed;
      frame.GetText(item, &typed);
      if (!FactorFromPercent(typed, into[item - kYItem])) {
        wrong = item;
        break;
      }
    }
    if (!wrong) {
      *factors = read;
      return true;
    }
    PortBeep(1);
    frame.SelectText(wrong);
  }
  return false;
}

void VLDocument::ScaleSelection() {
  if (!HasSelection() || !itsViews) return;
  // The view is brought up to date first: the dialog stands in front of it while it runs.
  itsViews->DrawNow();
  Vector3d factors;
  if (!RunScaleDialog(&factors)) return;
  WatchCursor watch;
  CTask* task = itsViews->DoScaleTask(kScaleName, factors);
  if (!task) return;
  Notify(task);
  PublishObjectLists();
  itsViews->RefreshLocator();
  itsViews->RedrawAfterEdit();
  SetChanged(true);
  InvalidateOtherViews();
}
