// A director: the object behind one window (or a group of windows) in the chain of command.
// It is owned by a director owner (the application, or a document), keeps the changed flag of
// what it shows, and closes on command 4.
#pragma once

#include "CDirectorOwner.h"

class CWindow;

class CDirector : public CDirectorOwner {
  VL_REGISTERED_CLASS(CDirector, CDirectorOwner)

 public:
  CDirector() = default;
  ~CDirector() override;

  // Initialises the director under its owner, which becomes its supervisor and keeps it.
  void Init(CDirectorOwner* supervisor);
  CDirectorOwner* GetOwner() const { return itsOwner; }
  // Used by an owner that lets the director go; the supervisor link stays.
  void SetOwner(CDirectorOwner* owner) { itsOwner = owner; }

  // The director's window; the director owns it and disposes of it when it goes.
  CWindow* GetWindow() const { return itsWindow; }
  void SetWindow(CWindow* window) { itsWindow = window; }
  // The bureaucrat that becomes the command target when the director's window is activated.
  CBureaucrat* GetFirstTarget() const { return itsTarget; }
  void SetFirstTarget(CBureaucrat* target) { itsTarget = target; }

  // Closes the director's own directors, then the director itself (Dispose). False, with
  // nothing disposed of, when one of them refuses.
  virtual Boolean Close(Boolean quitting);
  void Dispose() override;

  // The director's window became active (its first target, or the director, becomes the command
  // target) or inactive (the command target, when it is the director's, is remembered for the
  // next activation).
  virtual void ActivateWindow();
  virtual void DeactivateWindow();
  Boolean IsActive() const { return active; }

  // The changed flag: SetChanged keeps the previous flag, sets the new one and passes the change
  // to the supervising director, when there is one; RevertChanged puts the previous flag back
  // through SetChanged.
  virtual void SetChanged(Boolean changed);
  virtual void RevertChanged();
  Boolean IsChanged() const { return dirty; }

  // Command 4 closes the director; the rest go up the chain.
  void DoCommand(long command) override;
  void UpdateMenus() override;
  // A finished task marks the director changed on its way up.
  void Notify(CTask* task) override;

  Boolean dirty = false;      // the changed flag
  Boolean prevDirty = false;  // the flag before the last SetChanged

 protected:
  // Disposes of the window (its panes with it) and forgets it.
  void DisposeWindow();

  CDirectorOwner* itsOwner = nullptr;
  CWindow* itsWindow = nullptr;
  CBureaucrat* itsTarget = nullptr;
  Boolean active = false;
};
