// High-level events: a class and an id, with parameters named by keyword, each holding data of
// a type. The section events of published sections arrive this way.
#pragma once

#include <map>
#include <vector>

#include "MacTypes.h"

enum : OSErr { errAEDescNotFound = -1701, errAEWrongDataType = -1703 };

constexpr OSType keyDirectObject = FourCC("----");

struct AppleEvent {
  OSType eventClass = 0;
  OSType eventID = 0;
  struct Param {
    OSType type = 0;
    std::vector<unsigned char> data;
  };
  std::map<OSType, Param> params;
};

// Stores a parameter (replacing one of the same keyword).
void PortPutEventParam(AppleEvent* event, OSType keyword, OSType type, const void* data, Size size);
// Copies at most maxSize bytes of the parameter into data when it has the desired type;
// *actualSize is its full size. errAEDescNotFound without it, errAEWrongDataType for another type.
OSErr PortGetEventParam(const AppleEvent* event, OSType keyword, OSType desiredType, void* data, Size maxSize,
                        Size* actualSize);
