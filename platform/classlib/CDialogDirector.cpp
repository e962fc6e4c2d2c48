#include "CDialogDirector.h"

#include "CAbstractText.h"
#include "CApplication.h"
#include "CDialog.h"
#include "CDialogText.h"
#include "Commands.h"
#include "Unwinding.h"

int gModalDialogDepth = 0;

CDialogDirector::~CDialogDirector() {
  if (modalDepth > 0) gModalDialogDepth -= modalDepth;
  modalDepth = 0;
}

void CDialogDirector::IDialogDirector(CDirectorOwner* supervisor) { Init(supervisor); }

CDialog* CDialogDirector::GetDialog() const { return dynamic_cast<CDialog*>(itsWindow); }

long CDialogDirector::DoModalDialog(long defaultCommand) { return RunModalLoop(defaultCommand, false); }

void CDialogDirector::BeginModalState(long defaultCommand) {
  savedTarget = gCommandTarget;
  dismissCmd = 0;
  closeRequested = false;
  ++modalDepth;
  ++gModalDialogDepth;
  CDialog* dialog = GetDialog();
  if (!dialog) return;
  dialog->SetDefaultCmd(defaultCommand);
  dialog->Reveal();
  if (CDialogText* first = dialog->GetFirstText()) {
    first->BecomeCommandTarget(true);
    first->SelectAll(true);
    SetFirstTarget(first);
  } else {
    dialog->BecomeCommandTarget(true);
    SetFirstTarget(dialog);
  }
}

void CDialogDirector::EndModalState() {
  if (modalDepth > 0) {
    --modalDepth;
    --gModalDialogDepth;
  }
  // The target from before, unless it went away meanwhile (it then is no bureaucrat of ours).
  if (gCommandTarget == nullptr || gCommandTarget == this || gCommandTarget->IsSubordinateOf(this))
    gCommandTarget = savedTarget;
}

void CDialogDirector::ModalStep() {
  if (!gApplication) {
    // Nothing can deliver the events that would end the loop.
    dismissCmd = cmdCancel;
    return;
  }
  CatchFailures([] { gApplication->ProcessOneEvent(); });
}

long CDialogDirector::RunModalLoop(long defaultCommand, Boolean closeWhenDone) {
  BeginModalState(defaultCommand);
  try {
    while (dismissCmd == 0) ModalStep();
  } catch (...) {
    EndModalState();
    throw;
  }
  long result = dismissCmd;
  EndModalState();
  if (closeWhenDone || closeRequested) Close(false);
  return result;
}

Boolean CDialogDirector::EndDialog(long command, Boolean validate) {
  if (validate) {
    CDialog* dialog = GetDialog();
    if (dialog && !dialog->Validate()) return false;
  }
  dismissCmd = command;
  return true;
}

void CDialogDirector::DoCommand(long command) {
  switch (command) {
    case cmdOK:
      EndDialog(command, true);
      break;
    case cmdCancel:
      EndDialog(command, false);
      break;
    default:
      CDirector::DoCommand(command);
  }
}

Boolean CDialogDirector::Close(Boolean quitting) {
  if (modalDepth > 0) {
    // The loop runs on: it ends with cancel, then the director closes.
    closeRequested = true;
    EndDialog(cmdCancel, false);
    return false;
  }
  return CDirector::Close(quitting);
}
