// The director of a dialog. Run modally (DoModalDialog), the dialog comes to the front with a
// default command, its first editable text selected and the command target (or the dialog
// itself when it has none), and events are handled until a command ends the dialog: cmdOK
// (after every text item accepted its text) and cmdCancel end it as they come; a subclass ends
// it with others through EndDialog. While the loop runs, menu commands other than the edit
// commands are not carried out, and closing the director ends the loop with cmdCancel instead.
#pragma once

#include "CDirector.h"

class CDialog;

class CDialogDirector : public CDirector {
  VL_REGISTERED_CLASS(CDialogDirector, CDirector)

 public:
  CDialogDirector() = default;
  ~CDialogDirector() override;

  void IDialogDirector(CDirectorOwner* supervisor);

  // The director's window as a dialog (null when it has none).
  CDialog* GetDialog() const;

  // Shows the dialog and runs it until a command ends it; answers that command.
  virtual long DoModalDialog(long defaultCommand);
  // The loop DoModalDialog runs; with closeWhenDone the director closes afterwards.
  virtual long RunModalLoop(long defaultCommand, Boolean closeWhenDone);
  // Ends the modal loop with the command; with validate only when every text item accepts its
  // text. Answers whether it ended.
  virtual Boolean EndDialog(long command, Boolean validate);
  // The command that ended (or is to end) the loop; 0 while it runs.
  void SetDismissCmd(long command) { dismissCmd = command; }
  long GetDismissCmd() const { return dismissCmd; }
  Boolean IsModal() const { return modalDepth > 0; }

  void DoCommand(long command) override;
  Boolean Close(Boolean quitting) override;

 protected:
  // Before and after the loop: the state the loop changes and restores.
  virtual void BeginModalState(long defaultCommand);
  virtual void EndModalState();
  // One event of the loop; a failure is reported and the loop goes on.
  void ModalStep();

  long dismissCmd = 0;
  int modalDepth = 0;
  CBureaucrat* savedTarget = nullptr;
  Boolean closeRequested = false;
};

// The number of modal dialogs running (0: none).
extern int gModalDialogDepth;
