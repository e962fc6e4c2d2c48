#include "DCObserver.h"

#include <algorithm>

#include "DCSubject.h"

DCObserver::~DCObserver() {
  for (DCSubject* subject : subjects_) subject->Remove(this);
  subjects_.clear();
}

void DCObserver::Observe(DCSubject* subject) {
  if (!subject) return;
  if (std::find(subjects_.begin(), subjects_.end(), subject) == subjects_.end()) subjects_.push_back(subject);
  subject->Add(this);
}

void DCObserver::Update(DCSubject*) {}

bool DCObserver::Observes(const DCSubject* subject) const {
  return std::find(subjects_.begin(), subjects_.end(), subject) != subjects_.end();
}
