#include "Memory.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>

namespace {

// Every block carries this header just before the bytes the caller sees.
struct BlockHeader {
  Size size;
  Size capacity;
  SInt8 state;
  UInt32 magic;
};
constexpr UInt32 kHandleMagic = 0x564C4842;  // 'VLHB'
constexpr UInt32 kBlockMagic = 0x564C5042;   // 'VLPB'

OSErr gMemError = noErr;

std::unordered_set<Handle>& LiveHandles() {
  static std::unordered_set<Handle> live;
  return live;
}

BlockHeader* HeaderOf(void* data) { return reinterpret_cast<BlockHeader*>(static_cast<char*>(data) - sizeof(BlockHeader)); }

char* NewData(Size size, Size capacity, UInt32 magic) {
  void* raw = std::malloc(sizeof(BlockHeader) + std::size_t(capacity));
  if (!raw) return nullptr;
  auto* hdr = static_cast<BlockHeader*>(raw);
  hdr->size = size;
  hdr->capacity = capacity;
  hdr->state = 0;
  hdr->magic = magic;
  char* data = static_cast<char*>(raw) + sizeof(BlockHeader);
  std::memset(data, 0, std::size_t(capacity));
  return data;
}

void FreeData(char* data) {
  if (data) std::free(HeaderOf(data));
}

bool SizeOk(Size size) { return size >= 0 && size <= kMaxBlockSize; }

// Release builds leave room to grow in place; debug builds allocate exactly.
Size CapacityFor(Size size) {
#if VL_DEBUG_MOVING_HANDLES
  return size;
#else
  return size < 64 ? 64 : size + size / 2;
#endif
}

bool Valid(Handle h) { return h && LiveHandles().count(h) != 0; }

}  // namespace

Handle PortAllocHandle(Size size) {
  if (!SizeOk(size)) {
    gMemError = memFullErr;
    return nullptr;
  }
  char* data = NewData(size, CapacityFor(size), kHandleMagic);
  if (!data) {
    gMemError = memFullErr;
    return nullptr;
  }
  Handle h = new (std::nothrow) char*(data);
  if (!h) {
    FreeData(data);
    gMemError = memFullErr;
    return nullptr;
  }
  LiveHandles().insert(h);
  gMemError = noErr;
  return h;
}

Handle PortAllocHandleAlt(Size size) { return PortAllocHandle(size); }

void PortFreeHandle(Handle h) {
  if (!h) {
    gMemError = noErr;
    return;
  }
  if (!Valid(h)) {
    gMemError = nilHandleErr;
    return;
  }
  LiveHandles().erase(h);
  FreeData(*h);
  delete h;
  gMemError = noErr;
}

void PortResizeHandle(Handle h, Size size) {
  if (!Valid(h)) {
    gMemError = nilHandleErr;
    return;
  }
  if (!SizeOk(size)) {
    gMemError = memFullErr;
    return;
  }
  BlockHeader* hdr = HeaderOf(*h);
  bool locked = (hdr->state & kHandleLockedBit) != 0;
#if VL_DEBUG_MOVING_HANDLES
  bool inPlace = locked && size <= hdr->capacity;
#else
  bool inPlace = size <= hdr->capacity;
#endif
  if (inPlace) {
    if (size > hdr->size) std::memset(*h + hdr->size, 0, std::size_t(size - hdr->size));
    hdr->size = size;
    gMemError = noErr;
    return;
  }
  if (locked) {  // a locked block cannot move
    gMemError = memFullErr;
    return;
  }
  char* data = NewData(size, CapacityFor(size), kHandleMagic);
  if (!data) {
    gMemError = memFullErr;
    return;
  }
  std::memcpy(data, *h, std::size_t(std::min(size, hdr->size)));
  HeaderOf(data)->state = hdr->state;
  FreeData(*h);
  *h = data;
  gMemError = noErr;
}

void PortDuplicateHandle(Handle* variable) {
  if (!variable || !Valid(*variable)) {
    gMemError = nilHandleErr;
    return;
  }
  Handle src = *variable;
  Size size = HeaderOf(*src)->size;
  Handle copy = PortAllocHandle(size);
  if (!copy) return;
  std::memcpy(*copy, *src, std::size_t(size));
  *variable = copy;
}

Size PortHandleSize(Handle h) {
  if (!Valid(h)) {
    gMemError = nilHandleErr;
    return 0;
  }
  gMemError = noErr;
  return HeaderOf(*h)->size;
}

SInt8 PortGetHandleState(Handle h) {
  if (!Valid(h)) {
    gMemError = nilHandleErr;
    return 0;
  }
  gMemError = noErr;
  return HeaderOf(*h)->state;
}

void PortSetHandleState(Handle h, SInt8 state) {
  if (!Valid(h)) {
    gMemError = nilHandleErr;
    return;
  }
  HeaderOf(*h)->state = state;
  gMemError = noErr;
}

void PortLockHandle(Handle h) {
  if (Valid(h)) PortSetHandleState(h, SInt8(PortGetHandleState(h) | kHandleLockedBit));
}

void PortUnlockHandle(Handle h) {
  if (Valid(h)) PortSetHandleState(h, SInt8(PortGetHandleState(h) & ~kHandleLockedBit));
}

bool PortIsHandle(Handle h) { return Valid(h); }

OSErr PortMemError() { return gMemError; }

Ptr PortAllocBlock(Size size) {
  if (!SizeOk(size)) {
    gMemError = memFullErr;
    return nullptr;
  }
  char* data = NewData(size, size, kBlockMagic);
  gMemError = data ? noErr : memFullErr;
  return data;
}

void PortFreeBlock(Ptr p) {
  if (p && HeaderOf(p)->magic == kBlockMagic) FreeData(p);
  gMemError = noErr;
}

Size PortBlockSize(Ptr p) { return p ? HeaderOf(p)->size : 0; }

Handle PortHandleFromBytes(const void* data, Size size) {
  Handle h = PortAllocHandle(size);
  if (h && size > 0) std::memcpy(*h, data, std::size_t(size));
  return h;
}

long PortLiveHandleCount() { return long(LiveHandles().size()); }
