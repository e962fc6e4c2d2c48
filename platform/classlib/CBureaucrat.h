// The chain of command. Every bureaucrat has a supervisor; commands, keys, menu updates and
// finished tasks that a bureaucrat does not handle go to its supervisor, and so on up to the
// application, where the chain ends. gCommandTarget is the bureaucrat that gets them first.
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"

struct EventRecord;
class CTask;

class CBureaucrat : public CCollaborator {
  VL_REGISTERED_CLASS(CBureaucrat, CCollaborator)

 public:
  CBureaucrat() = default;
  ~CBureaucrat() override;

  // Initialises the bureaucrat under its supervisor (null for the top of a chain).
  void IBureaucrat(CBureaucrat* supervisor);
  CBureaucrat* GetSupervisor() const { return itsSupervisor; }
  void SetSupervisor(CBureaucrat* supervisor) { itsSupervisor = supervisor; }

  // Not handled here: passed to the supervisor. At the top of the chain they stop.
  virtual void DoCommand(long command);
  virtual void DoKeyDown(char theChar, UInt8 keyCode, EventRecord* event);
  virtual void DoAutoKey(char theChar, UInt8 keyCode, EventRecord* event);
  virtual void DoKeyUp(char theChar, UInt8 keyCode, EventRecord* event);
  // Enables and checks this object's menu items; the base lets the supervisor chain do its part.
  virtual void UpdateMenus();
  // A finished task (or null: no undoable change) travels up to the application, which keeps it
  // as the one last undoable task. A task that reaches the top of a chain without an
  // application is disposed of.
  virtual void Notify(CTask* task);

  // A bureaucrat's broadcast goes up its supervisor chain first (each supervisor's
  // ProviderChanged with this object as provider), then to its dependents.
  void NotifyDependents(long reason, void* info) override;
  // A notice that climbs from a subordinate is passed on to the supervisor; others end here.
  void OnProviderChange(CCollaborator* provider, long reason, void* info) override;

  // Makes this object gCommandTarget (become true) or gives the role to its supervisor (false,
  // only when it is the target). The object that gives up the role broadcasts 'BUR1', the new
  // target 'BUR0'. Answers whether this object is the target afterwards (become) or not (give up).
  virtual Boolean BecomeCommandTarget(Boolean become);
  Boolean IsCommandTarget() const;
  // True when this object is below ancestor in a supervisor chain.
  Boolean IsSubordinateOf(const CBureaucrat* ancestor) const;

  void Dispose() override;

 protected:
  CBureaucrat* itsSupervisor = nullptr;
};

// The bureaucrat that commands and keys go to first.
extern CBureaucrat* gCommandTarget;

// Reasons of the command-target notices.
constexpr long kBecameCommandTarget = FourCharReason("BUR0");
constexpr long kResignedCommandTarget = FourCharReason("BUR1");
