// The run-time class registry: each registered class records its name and object size once, at
// start-up or on first use, and every object can answer the record of its exact class
// (BedVirtualGetClassInfo). Catch sites compare records to tell exception classes apart.
#pragma once

#include "MacTypes.h"

struct CClassInfo {
  const char* name;         // as registered; lives as long as the program
  long size;                // sizeof the class
  const CClassInfo* base;   // record of the registered base class; null for a root
};

// Registers a class and returns its record. Registering a name again returns the record made
// the first time (its size and base stay as they were).
const CClassInfo* RegisterClassInfo(const char* name, long size, const CClassInfo* base);
// The record registered under a name (exact, case-sensitive); null when none.
const CClassInfo* FindClassInfo(const char* name);
// Number of registered classes.
long CountClassInfos();
// True when info is base or derives from it through registered bases.
bool ClassInfoIsA(const CClassInfo* info, const CClassInfo* base);

// Inside a class body: the class's static record (registered on first use) and its override of
// BedVirtualGetClassInfo. Base is the nearest registered base class.
#define VL_REGISTERED_CLASS(Class, Base)                                              \
 public:                                                                              \
  static const CClassInfo* ClassInfo() {                                              \
    static const CClassInfo* info = RegisterClassInfo(#Class, long(sizeof(Class)),    \
                                                      Base::ClassInfo());             \
    return info;                                                                      \
  }                                                                                   \
  const CClassInfo* BedVirtualGetClassInfo() const override { return ClassInfo(); }

// The same for a root class, which declares the virtual itself.
#define VL_REGISTERED_ROOT_CLASS(Class)                                                 \
 public:                                                                                \
  static const CClassInfo* ClassInfo() {                                                \
    static const CClassInfo* info = RegisterClassInfo(#Class, long(sizeof(Class)), nullptr); \
    return info;                                                                        \
  }                                                                                     \
  virtual const CClassInfo* BedVirtualGetClassInfo() const { return ClassInfo(); }
