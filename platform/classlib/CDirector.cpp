#include "CDirector.h"

#include "CMenuManager.h"
#include "CWindow.h"
#include "CTask.h"
#include "Commands.h"

CDirector::~CDirector() {
  DisposeWindow();
  if (itsOwner) itsOwner->RemoveDirector(this);
  if (gCommandTarget == this || (gCommandTarget && gCommandTarget->IsSubordinateOf(this)))
    gCommandTarget = itsSupervisor;
}

void CDirector::Init(CDirectorOwner* supervisor) {
  IBureaucrat(supervisor);
  itsOwner = supervisor;
  if (supervisor) supervisor->AddDirector(this);
}

Boolean CDirector::Close(Boolean quitting) {
  if (!CloseDirectors(quitting)) return false;
  Dispose();
  return true;
}

void CDirector::DisposeWindow() {
  if (!itsWindow) return;
  CWindow* window = itsWindow;
  itsWindow = nullptr;
  // The window no longer names this director as its own.
  window->SetSupervisor(nullptr);
  window->Dispose();
}

void CDirector::Dispose() {
  if (itsOwner) {
    itsOwner->RemoveDirector(this);
    itsOwner = nullptr;
  }
  if (gCommandTarget && gCommandTarget->IsSubordinateOf(this)) gCommandTarget = itsSupervisor;
  CDirectorOwner::Dispose();
}

void CDirector::ActivateWindow() {
  active = true;
  CBureaucrat* target = itsTarget ? itsTarget : this;
  target->BecomeCommandTarget(true);
}

void CDirector::DeactivateWindow() {
  active = false;
  if (gCommandTarget && (gCommandTarget == this || gCommandTarget->IsSubordinateOf(this)))
    itsTarget = gCommandTarget;
}

void CDirector::SetChanged(Boolean changed) {
  prevDirty = dirty;
  dirty = changed;
  if (auto* director = dynamic_cast<CDirector*>(itsSupervisor); director && changed)
    director->SetChanged(true);
}

void CDirector::RevertChanged() { SetChanged(prevDirty); }

void CDirector::DoCommand(long command) {
  if (command == cmdClose)
    Close(false);
  else
    CDirectorOwner::DoCommand(command);
}

void CDirector::UpdateMenus() {
  CDirectorOwner::UpdateMenus();
  if (gMenuManager) gMenuManager->EnableCommand(cmdClose);
}

void CDirector::Notify(CTask* task) {
  if (task) SetChanged(true);
  CDirectorOwner::Notify(task);
}
