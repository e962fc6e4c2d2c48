// The root of the class library's objects: dependency links and change broadcasts.
//
// A collaborator can depend on providers. When a provider changes it broadcasts the change
// (NotifyDependents with a reason and an info pointer) and every dependent's ProviderChanged
// runs with the provider, the reason and the info. Reasons are numbers, or four-character codes
// for the class library's own notices.
//
// Objects are constructed, then initialised by a separate operation with arguments, and freed
// through the virtual Dispose, which deletes them. Links are removed on both sides when either
// side goes away.
#pragma once

#include <vector>

#include "ClassRegistry.h"
#include "MacTypes.h"

class CCollaborator {
  VL_REGISTERED_ROOT_CLASS(CCollaborator)

 public:
  CCollaborator() = default;
  CCollaborator(const CCollaborator&) = delete;
  CCollaborator& operator=(const CCollaborator&) = delete;
  virtual ~CCollaborator();

  // A copy of the collaborator part: a plain collaborator without links (null when memory runs
  // out). Classes with state of their own override it.
  virtual CCollaborator* Clone() const;
  // Releases what the object owns and deletes it.
  virtual void Dispose();

  // Makes this object a dependent of provider (both links); null is ignored.
  virtual void AttachToProvider(CCollaborator* provider);
  virtual void DetachFromProvider(CCollaborator* provider);
  // Sends the change to every dependent, in the order they attached. A dependent may attach or
  // detach collaborators, or dispose of itself or of the provider, while the notice runs: those
  // that stopped depending are skipped and delivery ends when the provider is gone.
  virtual void NotifyDependents(long reason, void* info);

  // A provider changed. Both names reach the same handling: ProviderChanged runs first and, for
  // what it does not handle, hands the notice to OnProviderChange. The base bodies do nothing
  // further.
  virtual void ProviderChanged(CCollaborator* provider, long reason, void* info);
  virtual void OnProviderChange(CCollaborator* provider, long reason, void* info);

  // One side of a link each; AttachToProvider and DetachFromProvider keep both sides in step.
  virtual void AddDependent(CCollaborator* dependent);
  virtual void RemoveDependent(CCollaborator* dependent);
  virtual void AddProvider(CCollaborator* provider);
  virtual void RemoveProvider(CCollaborator* provider);

  bool HasDependent(const CCollaborator* dependent) const;
  bool HasProvider(const CCollaborator* provider) const;
  long CountDependents() const { return long(dependents.size()); }
  long CountProviders() const { return long(providers.size()); }

 private:
  std::vector<CCollaborator*> dependents;
  std::vector<CCollaborator*> providers;
  // Set while a broadcast of this object runs; the destructor raises it so the broadcast stops.
  bool* goneFlag = nullptr;
};

// Four-character reason codes, as the class library broadcasts them.
constexpr long FourCharReason(const char (&s)[5]) { return long(FourCC(s)); }
