#include "CCollaborator.h"

#include <algorithm>
#include <new>

namespace {
void Erase(std::vector<CCollaborator*>& list, const CCollaborator* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it != list.end()) list.erase(it);
}
}  // namespace

CCollaborator::~CCollaborator() {
  if (goneFlag) *goneFlag = true;
  // Take this object out of every list that names it, on both sides.
  for (CCollaborator* provider : std::vector<CCollaborator*>(providers)) Erase(provider->dependents, this);
  for (CCollaborator* dependent : std::vector<CCollaborator*>(dependents)) Erase(dependent->providers, this);
}

CCollaborator* CCollaborator::Clone() const { return new (std::nothrow) CCollaborator; }

void CCollaborator::Dispose() { delete this; }

void CCollaborator::AttachToProvider(CCollaborator* provider) {
  if (!provider || provider == this) return;
  provider->AddDependent(this);
  AddProvider(provider);
}

void CCollaborator::DetachFromProvider(CCollaborator* provider) {
  if (!provider) return;
  provider->RemoveDependent(this);
  RemoveProvider(provider);
}

void CCollaborator::NotifyDependents(long reason, void* info) {
  if (dependents.empty()) return;
  std::vector<CCollaborator*> snapshot(dependents);
  bool gone = false;
  bool* outer = goneFlag;
  goneFlag = &gone;
  for (CCollaborator* dependent : snapshot) {
    if (!HasDependent(dependent)) continue;
    dependent->ProviderChanged(this, reason, info);
    if (gone) {
      // This object was destroyed by the notice: tell an enclosing broadcast and stop.
      if (outer) *outer = true;
      return;
    }
  }
  goneFlag = outer;
}

void CCollaborator::ProviderChanged(CCollaborator* provider, long reason, void* info) {
  OnProviderChange(provider, reason, info);
}

void CCollaborator::OnProviderChange(CCollaborator*, long, void*) {}

void CCollaborator::AddDependent(CCollaborator* dependent) {
  if (dependent && !HasDependent(dependent)) dependents.push_back(dependent);
}

void CCollaborator::RemoveDependent(CCollaborator* dependent) { Erase(dependents, dependent); }

void CCollaborator::AddProvider(CCollaborator* provider) {
  if (provider && !HasProvider(provider)) providers.push_back(provider);
}

void CCollaborator::RemoveProvider(CCollaborator* provider) { Erase(providers, provider); }

bool CCollaborator::HasDependent(const CCollaborator* dependent) const {
  return std::find(dependents.begin(), dependents.end(), dependent) != dependents.end();
}

bool CCollaborator::HasProvider(const CCollaborator* provider) const {
  return std::find(providers.begin(), providers.end(), provider) != providers.end();
}
