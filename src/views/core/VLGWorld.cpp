#include "VLGWorld.h"

GWorldPtr gSavedOffscreen = nullptr;

namespace {

const RGBColor kBlack{0, 0, 0};
const RGBColor kWhite{65535, 65535, 65535};

void SetCopyColours(const RGBColor& foreground) {
  PortRGBForeColor(&foreground);
  PortRGBBackColor(&kWhite);
}

// A world of that depth at the bounds, in place of *target. The old world is released only
// once the new one exists, so a failure leaves *target as it was.
OSErr ReplaceWorld(GWorldPtr* target, SInt16 depth, const Rect* bounds) {
  GWorldPtr made = nullptr;
  const OSErr error = PortNewOffscreen(&made, depth, bounds, nullptr, nullptr, 0);
  if (error != noErr) return error;
  PortFreeOffscreen(*target);
  *target = made;
  return noErr;
}

// Remakes a world at a depth and bounds keeping its picture (makes it when missing).
OSErr UpdateWorld(GWorldPtr* target, SInt16 depth, const Rect* bounds) {
  if (PortUpdateOffscreen(target, depth, bounds, nullptr, nullptr, 0) == 0) return noErr;
  const OSErr error = PortQDError();
  return error != noErr ? error : OSErr(memFullErr);
}

}  // namespace

// ---- VLGWorld ----

VLGWorld::~VLGWorld() {
  PortFreeOffscreen(world);
  world = nullptr;
}

OSErr VLGWorld::IVLGWorld(const Rect* newBounds) {
  PortGetWorld(&savedPort, &savedDevice);
  screenDepth = 0;
  pixelDepth = 1;
  transferMode = srcCopy;
  copyColor = kBlack;
  const OSErr error = ReplaceWorld(&world, pixelDepth, newBounds);
  if (error == noErr) bounds = *newBounds;
  return error;
}

OSErr VLGWorld::Resize(const Rect* newBounds) {
  CGrafPtr port = nullptr;
  GDHandle device = nullptr;
  PortGetWorld(&port, &device);
  const OSErr error = ReplaceWorld(&world, pixelDepth, newBounds);
  if (error == noErr) {
    bounds = *newBounds;
    PortSetWorld(world, PortGetMainDevice());
    SetCopyColours(kBlack);
    PortEraseRect(&bounds);
  }
  PortSetWorld(port, device);
  return error;
}

void VLGWorld::EnterWorld(GWorldPtr target) {
  PortGetWorld(&savedPort, &savedDevice);
  if (!target) {
    PortSetPort(nullptr);
    return;
  }
  PortLockPixels(PortOffscreenPixMap(target));
  PortSetWorld(target, PortGetMainDevice());
}

void VLGWorld::LeaveWorld(GWorldPtr target) {
  PortSetWorld(savedPort, savedDevice);
  if (target) PortUnlockPixels(PortOffscreenPixMap(target));
}

void VLGWorld::BeginDrawing() {
  EnterWorld(world);
  if (!world) return;
  SetCopyColours(kBlack);
  const Rect& area = useDrawRect ? drawRect : bounds;
  // Clip first: a clip left from an earlier draw rectangle must not narrow the erasing.
  PortClipRect(&area);
  PortEraseRect(&area);
}

void VLGWorld::BeginDrawingNoErase() { EnterWorld(world); }

void VLGWorld::EndDrawing() { LeaveWorld(world); }

OSErr VLGWorld::UseScreenDepth() {
  const OSErr error = UpdateWorld(&world, 0, &bounds);
  if (error != noErr) return error;
  pixelDepth = 0;
  screenDepth = 1;
  return noErr;
}

OSErr VLGWorld::SetDepth(SInt16 depth) {
  const OSErr error = UpdateWorld(&world, depth, &bounds);
  if (error == noErr) pixelDepth = depth;
  return error;
}

Boolean VLGWorld::OffscreenAvailable() { return true; }

SInt16 VLGWorld::ActualDepth() const { return world ? world->portPixMap.pixelSize : 0; }

void VLGWorld::CopyOut(GWorldPtr source, const PixMap* dst, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
                       RgnHandle mask) {
  if (!source || !dst) return;
  PixMapHandle pixels = PortOffscreenPixMap(source);
  PortLockPixels(pixels);
  PortCopyBits(&source->portPixMap, dst, srcRect, dstRect, mode, mask);
  PortUnlockPixels(pixels);
}

void VLGWorld::CopyToBitMap(PixMap bitMap) {
  if (!world) return;
  PortRGBForeColor(&kBlack);
  CopyOut(world, &bitMap, &world->portRect, &bitMap.bounds, transferMode, nullptr);
}

void VLGWorld::CopyToPort(GrafPtr port) {
  if (!world || !port) return;
  SetCopyColours(copyColor);
  CopyOut(world, PortPortBits(port), &world->portRect, &bounds, transferMode, nullptr);
}

void VLGWorld::CopyToCurrentPort(UInt8 useRect, const Rect* rect) { CopyToCurrentPortFrom(world, useRect, rect); }

void VLGWorld::CopyToCurrentPortFrom(GWorldPtr source, UInt8 useRect, const Rect* rect) {
  if (!source) return;
  SetCopyColours(copyColor);
  const PixMap* dst = PortPortBits(PortCurrentPort());
  if (useRect && rect) CopyOut(source, dst, rect, rect, transferMode, nullptr);
  else CopyOut(source, dst, &source->portRect, &bounds, transferMode, nullptr);
}

void VLGWorld::CopyRectToCurrentPort(const Rect* rect) {
  if (!world || !rect) return;
  SetCopyColours(kBlack);
  CopyOut(world, PortPortBits(PortCurrentPort()), rect, rect, transferMode, nullptr);
}

void VLGWorld::SetDrawRect(const Rect* rect, UInt8 use) {
  if (use && rect) {
    drawRect = *rect;
    useDrawRect = 1;
  } else {
    useDrawRect = 0;
  }
}

void VLGWorld::CopyRectMasked(const Rect* rect, RgnHandle mask) {
  if (!world || !rect) return;
  CopyOut(world, PortPortBits(PortCurrentPort()), rect, rect, transferMode, mask);
}

// ---- VLGWorldOS ----

void VLGWorldOS::Dispose() {
  PortFreeOffscreen(gSavedOffscreen);
  gSavedOffscreen = nullptr;
  VLGWorld::Dispose();
}

OSErr VLGWorldOS::IVLGWorld(const Rect* newBounds) {
  const OSErr error = VLGWorld::IVLGWorld(newBounds);
  if (error != noErr || !gSavedOffscreen) return error;
  return ReplaceWorld(&gSavedOffscreen, 1, &bounds);
}

OSErr VLGWorldOS::UseScreenDepth() {
  const OSErr error = VLGWorld::UseScreenDepth();
  if (error != noErr) return error;
  return UpdateWorld(&gSavedOffscreen, 0, &bounds);
}

OSErr VLGWorldOS::SetDepth(SInt16 depth) {
  const OSErr error = VLGWorld::SetDepth(depth);
  if (error != noErr) return error;
  return UpdateWorld(&gSavedOffscreen, depth, &bounds);
}

OSErr VLGWorldOS::Resize(const Rect* newBounds) {
  const OSErr error = VLGWorld::Resize(newBounds);
  if (error != noErr) return error;
  return RecreateSaved();
}

void VLGWorldOS::CopyRectToCurrentPort(const Rect* rect) {
  if (!rect) return;
  SetCopyColours(kBlack);
  CopyOut(gSavedOffscreen, PortPortBits(PortCurrentPort()), rect, rect, transferMode, nullptr);
}

void VLGWorldOS::CopySavedToCurrentPort(UInt8 useRect, const Rect* rect) {
  CopyToCurrentPortFrom(gSavedOffscreen, useRect, rect);
}

OSErr VLGWorldOS::RecreateSaved() {
  PortFreeOffscreen(gSavedOffscreen);
  gSavedOffscreen = nullptr;
  return PortNewOffscreen(&gSavedOffscreen, pixelDepth, &bounds, nullptr, nullptr, 0);
}

OSErr VLGWorldOS::SaveImage() {
  if (!world) return nilHandleErr;
  if (!gSavedOffscreen) {
    const OSErr error = RecreateSaved();
    if (error != noErr) return error;
  }
  PixMapHandle target = PortOffscreenPixMap(gSavedOffscreen);
  PortLockPixels(target);
  CopyOut(world, &gSavedOffscreen->portPixMap, &world->portRect, &bounds, srcCopy, nullptr);
  PortUnlockPixels(target);
  return noErr;
}

void VLGWorldOS::CopyIntoSaved(GrafPtr port, const LongRect* srcRect, const LongRect* dstRect, SInt16 mode) {
  if (!port || !gSavedOffscreen || !srcRect || !dstRect) return;
  Rect source;
  Rect destination;
  LongToQDRect(srcRect, &source);
  LongToQDRect(dstRect, &destination);
  PixMapHandle target = PortOffscreenPixMap(gSavedOffscreen);
  PortLockPixels(target);
  PortCopyBits(PortPortBits(port), &gSavedOffscreen->portPixMap, &source, &destination, mode, nullptr);
  PortUnlockPixels(target);
}

void VLGWorldOS::BeginDrawingSaved() { EnterWorld(gSavedOffscreen); }

void VLGWorldOS::EndDrawingSaved() { LeaveWorld(gSavedOffscreen); }
