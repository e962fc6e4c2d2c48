// Installs a table as the current one (one of the global current-table pointers) for the scope's
// life, and puts back the one it found when it ends, an error thrown through it included.
#pragma once

template <class Table, const Table** Current>
class CurrentTableScope {
 public:
  explicit CurrentTableScope(const Table& table) : fSaved(*Current) { *Current = &table; }
  ~CurrentTableScope() { *Current = fSaved; }
  CurrentTableScope(const CurrentTableScope&) = delete;
  CurrentTableScope& operator=(const CurrentTableScope&) = delete;

 private:
  const Table* fSaved;
};
