#include "CBureaucrat.h"

#include "CTask.h"

CBureaucrat* gCommandTarget = nullptr;

CBureaucrat::~CBureaucrat() {
  // Never leave the target pointing at a dead object.
  if (gCommandTarget == this) gCommandTarget = itsSupervisor;
}

void CBureaucrat::IBureaucrat(CBureaucrat* supervisor) { itsSupervisor = supervisor; }

void CBureaucrat::DoCommand(long command) {
  if (itsSupervisor) itsSupervisor->DoCommand(command);
}

void CBureaucrat::DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event) {
  if (itsSupervisor) itsSupervisor->DoKeyDown(theChar, keyCode, event);
}

void CBureaucrat::DoAutoKey(char theChar, UInt8 keyCode, EventRecord* event) {
  if (itsSupervisor) itsSupervisor->DoAutoKey(theChar, keyCode, event);
}

void CBureaucrat::DoKeyUp(char theChar, UInt8 keyCode, EventRecord* event) {
  if (itsSupervisor) itsSupervisor->DoKeyUp(theChar, keyCode, event);
}

void CBureaucrat::UpdateMenus() {
  if (itsSupervisor) itsSupervisor->UpdateMenus();
}

void CBureaucrat::Notify(CTask* task) {
  if (itsSupervisor)
    itsSupervisor->Notify(task);
  else if (task)
    task->Dispose();
}

void CBureaucrat::NotifyDependents(long reason, void* info) {
  if (itsSupervisor) itsSupervisor->ProviderChanged(this, reason, info);
  CCollaborator::NotifyDependents(reason, info);
}

void CBureaucrat::OnProviderChange(CCollaborator* provider, long reason, void* info) {
  auto* from = dynamic_cast<CBureaucrat*>(provider);
  if (itsSupervisor && from && from->IsSubordinateOf(this))
    itsSupervisor->ProviderChanged(provider, reason, info);
}

Boolean CBureaucrat::BecomeCommandTarget(Boolean become) {
  if (become) {
    if (gCommandTarget == this) return true;
    CBureaucrat* previous = gCommandTarget;
    gCommandTarget = this;
    if (previous) previous->NotifyDependents(kResignedCommandTarget, nullptr);
    if (gCommandTarget == this) NotifyDependents(kBecameCommandTarget, nullptr);
    return gCommandTarget == this;
  }
  if (gCommandTarget != this) return true;
  if (itsSupervisor) {
    itsSupervisor->BecomeCommandTarget(true);
    return gCommandTarget != this;
  }
  gCommandTarget = nullptr;
  NotifyDependents(kResignedCommandTarget, nullptr);
  return true;
}

Boolean CBureaucrat::IsCommandTarget() const { return gCommandTarget == this; }

Boolean CBureaucrat::IsSubordinateOf(const CBureaucrat* ancestor) const {
  // The walk is bounded so that a supervisor loop cannot hang it.
  int steps = 0;
  for (const CBureaucrat* b = itsSupervisor; b && steps < 10000; b = b->itsSupervisor, ++steps)
    if (b == ancestor) return true;
  return false;
}

void CBureaucrat::Dispose() {
  if (gCommandTarget == this) gCommandTarget = itsSupervisor;
  CCollaborator::Dispose();
}
