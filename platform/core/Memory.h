// Relocatable memory blocks (handles) and plain blocks.
//
// A handle points at a master pointer that stays put for the block's life; the block itself
// moves when it is resized, so callers re-derive pointers after every resize. Builds with
// VL_DEBUG_MOVING_HANDLES move every unlocked block on every resize, so a stale pointer is
// caught by the address sanitizer.
#pragma once

#include "MacTypes.h"

// Handle states as saved and restored around locking.
enum : int { kHandleLockedBit = 0x80, kHandlePurgeableBit = 0x40, kHandleResourceBit = 0x20 };

// Largest block the layer hands out; larger requests fail with memFullErr.
constexpr Size kMaxBlockSize = Size(1) << 30;

Handle PortAllocHandle(Size size);            // zero-filled; null with the memory error set on failure
Handle PortAllocHandleAlt(Size size);         // the same, for callers that ask for temporary memory
void PortFreeHandle(Handle h);                // null is ignored
void PortResizeHandle(Handle h, Size size);   // contents kept up to the smaller size; new bytes zero
void PortDuplicateHandle(Handle* variable);   // replaces *variable by a copy of its block
Size PortHandleSize(Handle h);                // 0 with nilHandleErr for null
SInt8 PortGetHandleState(Handle h);
void PortSetHandleState(Handle h, SInt8 state);
void PortLockHandle(Handle h);
void PortUnlockHandle(Handle h);
bool PortIsHandle(Handle h);                  // true for a live handle of this layer
OSErr PortMemError();                         // the result of the last memory call

Ptr PortAllocBlock(Size size);                // non-relocatable, zero-filled; null on failure
void PortFreeBlock(Ptr p);
Size PortBlockSize(Ptr p);

// Handle from bytes, and the number of live handles (for leak checks in tests).
Handle PortHandleFromBytes(const void* data, Size size);
long PortLiveHandleCount();
