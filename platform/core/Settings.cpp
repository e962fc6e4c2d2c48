#include "Settings.h"

#include <map>
#include <utility>

namespace {
std::map<std::pair<long, long>, long>& Table() {
  static std::map<std::pair<long, long>, long> table;
  return table;
}
}  // namespace

long PortSettingExchange(long group, long key, long value) {
  auto& slot = Table()[{group, key}];
  long old = slot;
  slot = value;
  return old;
}

long PortSettingGet(long group, long key, long fallback) {
  auto it = Table().find({group, key});
  return it == Table().end() ? fallback : it->second;
}

void PortSettingsClear() { Table().clear(); }
