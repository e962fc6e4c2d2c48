#include "DCSubject.h"

#include <algorithm>

#include "DCObserver.h"

DCSubject::~DCSubject() {
  if (destroyed_) *destroyed_ = true;
  for (DCObserver* observer : observers_) {
    if (!observer) continue;
    auto& list = observer->subjects_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it != list.end()) list.erase(it);
  }
  observers_.clear();
}

void DCSubject::Add(DCObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void DCSubject::Remove(DCObserver* observer) {
  auto it = std::find(observers_.begin(), observers_.end(), observer);
  if (it == observers_.end()) return;
  if (notifying_ > 0)
    *it = nullptr;
  else
    observers_.erase(it);
}

void DCSubject::Notify() {
  bool destroyed = false;
  bool* outer = destroyed_;
  destroyed_ = &destroyed;
  ++notifying_;
  const std::size_t end = observers_.size();
  for (std::size_t i = 0; i < end; ++i) {
    if (DCObserver* observer = observers_[i]) observer->Update(this);
    if (destroyed) break;
  }
  if (destroyed) {  // the subject is gone; only the outer frames' flags remain to be told
    if (outer) *outer = true;
    return;
  }
  destroyed_ = outer;
  if (--notifying_ == 0)
    observers_.erase(std::remove(observers_.begin(), observers_.end(), nullptr), observers_.end());
}

int DCSubject::ObserverCount() const {
  return int(std::count_if(observers_.begin(), observers_.end(), [](const DCObserver* o) { return o != nullptr; }));
}
