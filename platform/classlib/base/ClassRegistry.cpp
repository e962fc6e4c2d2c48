#include "ClassRegistry.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {
std::vector<std::unique_ptr<CClassInfo>>& Registry() {
  static std::vector<std::unique_ptr<CClassInfo>> registry;
  return registry;
}
}  // namespace

const CClassInfo* RegisterClassInfo(const char* name, long size, const CClassInfo* base) {
  if (!name) return nullptr;
  if (const CClassInfo* known = FindClassInfo(name)) return known;
  Registry().push_back(std::make_unique<CClassInfo>(CClassInfo{name, size, base}));
  return Registry().back().get();
}

const CClassInfo* FindClassInfo(const char* name) {
  if (!name) return nullptr;
  for (const auto& info : Registry())
    if (std::strcmp(info->name, name) == 0) return info.get();
  return nullptr;
}

long CountClassInfos() { return long(Registry().size()); }

bool ClassInfoIsA(const CClassInfo* info, const CClassInfo* base) {
  for (; info; info = info->base)
    if (info == base) return true;
  return false;
}
