#include "CDirectorOwner.h"

#include <algorithm>

#include "CDirector.h"

CDirectorOwner::~CDirectorOwner() { DisposeDirectors(); }

void CDirectorOwner::DisposeDirectors() {
  while (!itsDirectors.empty()) {
    CDirector* director = itsDirectors.back();
    itsDirectors.pop_back();
    director->SetOwner(nullptr);
    director->Dispose();
  }
}

void CDirectorOwner::AddDirector(CDirector* director) {
  if (director && !OwnsDirector(director)) itsDirectors.push_back(director);
}

void CDirectorOwner::RemoveDirector(CDirector* director) {
  auto it = std::find(itsDirectors.begin(), itsDirectors.end(), director);
  if (it != itsDirectors.end()) itsDirectors.erase(it);
}

Boolean CDirectorOwner::CloseDirectors(Boolean quitting) {
  // A close may dispose of other directors too, so look the list up again each time.
  std::vector<CDirector*> asked;
  for (;;) {
    CDirector* next = nullptr;
    for (auto it = itsDirectors.rbegin(); it != itsDirectors.rend(); ++it) {
      if (std::find(asked.begin(), asked.end(), *it) == asked.end()) {
        next = *it;
        break;
      }
    }
    if (!next) return true;
    asked.push_back(next);
    if (!next->Close(quitting)) return false;
  }
}

CDirector* CDirectorOwner::GetDirector(long index) const {
  if (index < 1 || index > long(itsDirectors.size())) return nullptr;
  return itsDirectors[std::size_t(index - 1)];
}

Boolean CDirectorOwner::OwnsDirector(const CDirector* director) const {
  return std::find(itsDirectors.begin(), itsDirectors.end(), director) != itsDirectors.end();
}

void CDirectorOwner::BecomeActive() {
  for (CDirector* director : std::vector<CDirector*>(itsDirectors))
    if (OwnsDirector(director)) director->BecomeActive();
}

void CDirectorOwner::BecomeInactive() {
  for (CDirector* director : std::vector<CDirector*>(itsDirectors))
    if (OwnsDirector(director)) director->BecomeInactive();
}
