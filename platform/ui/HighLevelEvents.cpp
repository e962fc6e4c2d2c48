#include "HighLevelEvents.h"

#include <algorithm>
#include <cstring>

void PortPutEventParam(AppleEvent* event, OSType keyword, OSType type, const void* data, Size size) {
  if (!event || size < 0) return;
  AppleEvent::Param param;
  param.type = type;
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (bytes) param.data.assign(bytes, bytes + size);
  event->params[keyword] = std::move(param);
}

OSErr PortGetEventParam(const AppleEvent* event, OSType keyword, OSType desiredType, void* data, Size maxSize,
                        Size* actualSize) {
  if (actualSize) *actualSize = 0;
  if (!event) return paramErr;
  auto it = event->params.find(keyword);
  if (it == event->params.end()) return errAEDescNotFound;
  if (it->second.type != desiredType) return errAEWrongDataType;
  const Size size = Size(it->second.data.size());
  if (actualSize) *actualSize = size;
  if (data && maxSize > 0) std::memcpy(data, it->second.data.data(), std::size_t(std::min(size, maxSize)));
  return noErr;
}
