#include "Memory.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <new>
#include <vector>

#include "BlockPool.h"

namespace {

// Every block carries this header just before the bytes the caller sees.
struct BlockHeader {
  Size size;
  Size capacity;
  SInt8 state;
  UInt8 sizeClass;  // the pool's class of the block, 0 for one of its own
  UInt32 magic;
};
constexpr UInt32 kHandleMagic = 0x564C4842;  // 'VLHB'
constexpr UInt32 kBlockMagic = 0x564C5042;   // 'VLPB'

OSErr gMemError = noErr;

// ---- Master pointers ----

// Master pointers sit in chunks, so a handle costs no allocation of its own, and telling a live
// handle from any other pointer takes a search over the few chunks and one flag.
constexpr std::size_t kMasterSlots = 4096;

struct MasterChunk {
  char* masters[kMasterSlots];
  bool live[kMasterSlots];
};

class MasterTable {
 public:
  // A master pointer holding null, or null when there is no memory for one.
  Handle Take();
  // Gives back a live master pointer.
  void Give(Handle h);
  bool IsLive(Handle h) const;
  long LiveCount() const { return live_; }

 private:
  static std::size_t SlotOf(const MasterChunk* chunk, Handle h) { return std::size_t(h - chunk->masters); }
  MasterChunk* ChunkOf(Handle h) const;  // the chunk whose slot h is, or null
  bool AddChunk();

  std::vector<MasterChunk*> chunks_;  // by address
  MasterChunk* newest_ = nullptr;
  std::size_t fresh_ = 0;             // slots of newest_ never handed out, at its end
  std::deque<Handle> given_;          // given back, taken again oldest first
  long live_ = 0;
};

// A slot not handed out is poisoned, so that the address sanitizer catches a freed handle used.
void Poison(Handle h, std::size_t count) { ASAN_POISON_MEMORY_REGION(h, count * sizeof(char*)); }
void Unpoison(Handle h) { ASAN_UNPOISON_MEMORY_REGION(h, sizeof(char*)); }

MasterChunk* MasterTable::ChunkOf(Handle h) const {
  const auto address = reinterpret_cast<std::uintptr_t>(h);
  auto after = std::upper_bound(chunks_.begin(), chunks_.end(), address, [](std::uintptr_t a, MasterChunk* chunk) {
    return a < reinterpret_cast<std::uintptr_t>(chunk->masters);
  });
  if (after == chunks_.begin()) return nullptr;
  MasterChunk* chunk = *(after - 1);
  const std::uintptr_t offset = address - reinterpret_cast<std::uintptr_t>(chunk->masters);
  if (offset >= sizeof chunk->masters || offset % sizeof(char*) != 0) return nullptr;
  return chunk;
}

bool MasterTable::IsLive(Handle h) const {
  const MasterChunk* chunk = ChunkOf(h);
  return chunk && chunk->live[SlotOf(chunk, h)];
}

bool MasterTable::AddChunk() {
  auto* chunk = new (std::nothrow) MasterChunk;
  if (!chunk) return false;
  try {
    chunks_.insert(std::upper_bound(chunks_.begin(), chunks_.end(), chunk, std::less<MasterChunk*>()), chunk);
  } catch (const std::bad_alloc&) {
    delete chunk;
    return false;
  }
  std::fill(std::begin(chunk->live), std::end(chunk->live), false);
  Poison(chunk->masters, kMasterSlots);
  newest_ = chunk;
  fresh_ = kMasterSlots;
  return true;
}

Handle MasterTable::Take() {
  Handle h = nullptr;
  if (!given_.empty()) {
    h = given_.front();
    given_.pop_front();
  } else {
    if (fresh_ == 0 && !AddChunk()) return nullptr;
    h = &newest_->masters[kMasterSlots - fresh_--];
  }
  Unpoison(h);
  *h = nullptr;
  MasterChunk* chunk = ChunkOf(h);
  chunk->live[SlotOf(chunk, h)] = true;
  ++live_;
  return h;
}

void MasterTable::Give(Handle h) {
  MasterChunk* chunk = ChunkOf(h);
  chunk->live[SlotOf(chunk, h)] = false;
  --live_;
  Poison(h, 1);
  try {
    given_.push_back(h);
  } catch (const std::bad_alloc&) {
    // The slot is not taken again; a few bytes are lost rather than the free failing.
  }
}

// Never destroyed: blocks may be freed by other objects' destructors at exit.
MasterTable& Masters() {
  static auto* table = new MasterTable;
  return *table;
}

// ---- Blocks ----

BlockHeader* HeaderOf(void* data) { return reinterpret_cast<BlockHeader*>(static_cast<char*>(data) - sizeof(BlockHeader)); }

// Release builds keep small blocks in free lists: a document makes several blocks for every
// solid, and the free list is much quicker than malloc. Builds that move blocks on every resize
// give each block an allocation of its own, so that the address sanitizer guards every one.
#if VL_DEBUG_MOVING_HANDLES
constexpr bool kPoolSmallBlocks = false;
#else
constexpr bool kPoolSmallBlocks = true;
#endif

// Never destroyed, as the master pointers.
vlcore::BlockPool& Pool() {
  static auto* pool = new vlcore::BlockPool;
  return *pool;
}

char* NewData(Size size, Size capacity, UInt32 magic) {
  // An empty block still takes a byte after its header, so that the pointer handed out lies
  // inside its allocation: one just past the end keeps nothing alive for the leak checker.
  const std::size_t bytes = sizeof(BlockHeader) + std::max(std::size_t(capacity), std::size_t(1));
  const int sizeClass = kPoolSmallBlocks ? vlcore::BlockPool::ClassOf(bytes) : 0;
  void* raw = sizeClass ? Pool().Take(sizeClass) : std::malloc(bytes);
  if (!raw) return nullptr;
  // A pooled block's whole class is room to grow in place.
  if (sizeClass) capacity = Size(vlcore::BlockPool::ClassBytes(sizeClass) - sizeof(BlockHeader));
  auto* hdr = static_cast<BlockHeader*>(raw);
  hdr->size = size;
  hdr->capacity = capacity;
  hdr->state = 0;
  hdr->sizeClass = UInt8(sizeClass);
  hdr->magic = magic;
  char* data = static_cast<char*>(raw) + sizeof(BlockHeader);
  // The room beyond the size is zeroed when a resize takes it.
  std::memset(data, 0, std::size_t(size));
  return data;
}

void FreeData(char* data) {
  if (!data) return;
  BlockHeader* hdr = HeaderOf(data);
  if (hdr->sizeClass)
    Pool().Give(hdr, hdr->sizeClass);
  else
    std::free(hdr);
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

bool Valid(Handle h) { return h && Masters().IsLive(h); }

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
  Handle h = Masters().Take();
  if (!h) {
    FreeData(data);
    gMemError = memFullErr;
    return nullptr;
  }
  *h = data;
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
  FreeData(*h);
  Masters().Give(h);
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

long PortLiveHandleCount() { return Masters().LiveCount(); }
