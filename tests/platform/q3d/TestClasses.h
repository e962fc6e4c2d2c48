// Classes registered at run time, written the way the program's scene layer
// writes its custom elements and its walk-through group class.
#pragma once

#include <vector>

#include "Q3.h"

namespace q3test {

// Element types of the test classes, valid after RegisterTestClasses.
struct TestTypes {
  TQ3ElementType vector = 0;    // "Test:Vector": TQ3Vector3D
  TQ3ElementType number = 0;    // "Test:Number": TQ3Int32
  TQ3ElementType caption = 0;   // "Test:Caption": a C string object, as a sub-object
  TQ3ElementType flags = 0;     // "Test:Flags": a packed flag array
  TQ3ElementType presence = 0;  // "Test:Presence": no data
  TQ3ElementType memoryOnly = 0;  // "Test:MemoryOnly": TQ3Int32, never written
  TQ3ObjectType sequence = 0;   // "Test:Group:Sequence": a plain group subclass
  TQ3XObjectClass sequenceClass = nullptr;
  std::vector<TQ3XObjectClass> classes;
};

// A flag array element holds this pointer to its own storage.
using FlagArray = std::vector<TQ3Uns8>*;

TestTypes& Types();
void RegisterTestClasses();
void UnregisterTestClasses();

}  // namespace q3test
