// The one progress dialog of the program (gProgressDialog): a message, a bar that fills from left
// to right and a Stop button, made hidden at start-up from dialog 1072 (item 1 the message, item
// 2 the bar, item 3 Stop) and shown only when a drawing job outlives the delay its caller gives.
//
// Two kinds of job are counted by the dialog itself: a wireframe drawing (one count per object,
// the bar from 0 to 1) and a sorted drawing in three bands (face submission up to a third,
// sorting from 0.33 to 0.66, painting from 0.67 to 1). Other long operations drive it directly:
// SetBusy, SetMessage, Show, Update with their own fractions, Hide, ClearBusy.
//
// The user stops a job with the Stop button or command-period; the dialog notices them only when
// it redraws its bar (Update looks at the event queue), and reports the stop through the answer
// of Update and through the two continue flags below, which the drawing loops read. Starting and
// ending a job sets its flag back to 1.
//
// Without a dialog (the resource or the screen missing) nothing is shown and no stop can be
// asked for, but every job still counts. The modal dialog's port is current only inside the
// dialog's own drawing: each drawing operation restores the caller's port and device.
#pragma once

#include "CCollaborator.h"
#include "Dialogs.h"
#include "MacTypes.h"
#include "QuickDraw.h"

class CProgressDialog : public CCollaborator {
  VL_REGISTERED_CLASS(CProgressDialog, CCollaborator)

 public:
  // Every field 0, no dialog.
  CProgressDialog() = default;
  // Releases the dialog.
  ~CProgressDialog() override;

  // Both continue flags 1, no job, not shown; makes the hidden dialog from resource 1072 in front
  // of all windows (remembering the current device), its reference value 0. The caller's port
  // stays current. When the dialog cannot be made it stays null.
  void OpenDialog();

  // A long operation that reports progress is under way (IsShowing answers it).
  virtual void SetBusy();
  virtual void ClearBusy();
  virtual Boolean IsShowing();
  // The dialog is shown for a job (wireframe or sorted).
  virtual Boolean IsOpen();
  // The text of item 1.
  virtual void SetMessage(ConstStringPtr message);
  // Centres the dialog horizontally a third of the way down the screen, enables Stop, shows it in
  // front, draws its items and frames the bar; it counts as shown for the sort job when one of
  // its bands is active, else for a wireframe job. Nothing without a dialog.
  virtual void Show();
  // Dims Stop, hides the dialog and discards every pending event; no longer shown for a
  // wireframe job. Nothing without a dialog.
  virtual void Hide();
  // Draws the bar at the fraction, taken within 0..1 (a fraction above 1 is a full bar). Then
  // looks for a stop request: command-period typed (key events are discarded on the way) or a
  // mouse press waiting over Stop (left in the queue); Stop then flashes for 8 ticks and the
  // answer is false. True to go on; false without a dialog.
  virtual Boolean Update(double fraction);

  // Begin a job: the modulus (how many counts between redraws of the bar; below 1 counts as 1),
  // the delay in ticks before the dialog shows, and the tick count at the start. The sort job
  // starts in its face-submission band with string 4 of list 2200, the wireframe job with string
  // 2. Each sets its continue flag to 1 and is not yet shown.
  virtual void BeginSortJob(SInt32 modulus, SInt16 delay, SInt32 startTick);
  virtual void BeginWireframeJob(SInt32 modulus, SInt16 delay, SInt32 startTick);
  // End the job: its continue flag 1, and the dialog hidden when it was shown for it.
  virtual void EndSortJob();
  virtual void EndWireframeJob();
  // Set or add to the total of a band while it is active.
  virtual void SetSubmissionTotal(SInt32 count);
  virtual void SetWireframeTotal(SInt32 count);
  virtual void AddSubmissionTotal(SInt32 count);
  virtual void AddFirstPhaseTotal(SInt32 count);
  virtual void AddSecondPhaseTotal(SInt32 count);
  // Count one unit of the band (nothing while it is not active). Until the dialog is open it is
  // shown once the delay has passed; while open the bar is redrawn at every multiple of the
  // modulus and at the total, and a stop request clears the job's continue flag.
  virtual void StepFaceSubmission();
  virtual void StepWireframeObject();
  virtual void Step();             // sorting
  virtual void StepSecondPhase();  // painting
  // Band changes of the sort job: face submission to sorting (with the total, its modulus and
  // the message "Sorting Polygons …"), sorting to painting (string 3 of list 2200). Each shows
  // the dialog when it is not open and the delay has passed.
  virtual void StartFirstPhase(SInt32 total, SInt16 modulus);
  virtual void StartSecondPhase(SInt32 total);

  DialogPtr dialog = nullptr;
  GDHandle device = nullptr;
  Rect barRect;
  SInt16 barWidth = 0;
  SInt32 redrawModulus = 0;
  SInt16 sortModulus = 0;
  SInt16 delay = 0;
  SInt32 wireTotal = 0;
  SInt32 wireCount = 0;
  SInt32 submitTotal = 0;
  SInt32 submitCount = 0;
  SInt32 sortTotal = 0;
  SInt32 sortCount = 0;
  SInt32 paintTotal = 0;
  SInt32 paintCount = 0;
  SInt32 startTick = 0;
  UInt8 wireActive = 0;
  UInt8 submitActive = 0;
  UInt8 sortActive = 0;
  UInt8 paintActive = 0;
  UInt8 wireShown = 0;
  UInt8 sortShown = 0;
  UInt8 busy = 0;

 private:
  // Counts one unit of a band whose count was just raised: shows the dialog past the delay, or
  // redraws the bar at the modulus and the total and clears the continue flag on a stop.
  void CountUnit(SInt32 count, SInt32 total, SInt32 modulus, UInt8 shownForJob, double fraction,
                 double firstFraction, UInt8* continueFlag);
  // The delay has passed since the job started.
  bool DelayPassed() const;
  // Shows the dialog and draws the bar when it is not open and the delay has passed.
  void ShowWhenDue(double fraction);
  // What every job sets when it begins: its modulus, delay, start and message.
  void StartJob(SInt32 modulus, SInt16 ticks, SInt32 start, SInt16 messageIndex);
};

// Dialog 1072 and the messages of string list 2200 the jobs use.
enum : SInt16 {
  kProgressDialogId = 1072,
  kProgressMessageItem = 1,
  kProgressBarItem = 2,
  kProgressStopItem = 3,
  kProgressStrings = 2200,
  kProgressPaintingMessage = 3,
  kProgressWireframeMessage = 2,
  kProgressSubmittingMessage = 4,
};

// The application's one progress dialog; null until the application's initialiser makes it.
extern CProgressDialog* gProgressDialog;
// The sort job and the wireframe job may go on: 1 except after the user stopped the job.
extern UInt8 gProgressContinue;
extern UInt8 gWireframeContinue;
