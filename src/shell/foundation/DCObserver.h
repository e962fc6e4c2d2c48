// The watching side of change notification.
#pragma once

#include <vector>

class DCSubject;

class DCObserver {
 public:
  DCObserver() = default;
  virtual ~DCObserver();  // leaves the observer list of every subject it observes
  DCObserver(const DCObserver&) = delete;
  DCObserver& operator=(const DCObserver&) = delete;

  // Starts observing the subject (once).
  void Observe(DCSubject* subject);
  virtual void Update(DCSubject* subject);

  int SubjectCount() const { return int(subjects_.size()); }
  bool Observes(const DCSubject* subject) const;

 private:
  friend class DCSubject;
  std::vector<DCSubject*> subjects_;
};
