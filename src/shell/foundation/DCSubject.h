// The changing side of change notification: keeps its observers and tells each of a change.
#pragma once

#include <vector>

class DCObserver;

class DCSubject {
 public:
  DCSubject() = default;
  ~DCSubject();  // leaves the subject list of every observer
  DCSubject(const DCSubject&) = delete;
  DCSubject& operator=(const DCSubject&) = delete;

  // Calls Update on every observer, in the order they started observing.
  void Notify();
  int ObserverCount() const;

 private:
  friend class DCObserver;
  void Add(DCObserver* observer);
  void Remove(DCObserver* observer);

  // Removal during Notify leaves a null, swept afterwards, so an update may end any observer.
  std::vector<DCObserver*> observers_;
  int notifying_ = 0;
  bool* destroyed_ = nullptr;  // set when the subject dies inside its own Notify
};
