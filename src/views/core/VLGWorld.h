// The offscreen worlds views draw into. A VLGWorld wraps one offscreen world of the drawing layer:
// it is made at a bounds rectangle and a pixel depth, resized, made the drawing target between a
// begin and an end call, and copied (whole, in part, through a mask, with a transfer mode) to a
// port or a bit map. VLGWorldOS is the view pane's kind: it keeps one more world shared by every
// pane, the saved image that rubber bands and feedback are drawn over, at the same bounds and
// depth as the pane set up or resized last.
//
// A world that could not be made is never drawn into: the creating call answers the memory
// error and keeps the world it had (or none). Between a begin and an end call without a world
// the drawing layer's own empty port is current, so drawing goes nowhere; copies from a missing
// world do nothing. Begin and end do not nest: a second begin overwrites the remembered port.
#pragma once

#include "CCollaborator.h"
#include "LongCoordinates.h"
#include "MacTypes.h"
#include "QuickDraw.h"

// The saved image every view pane shares; null until a pane first makes it.
extern GWorldPtr gSavedOffscreen;

class VLGWorld : public CCollaborator {
  VL_REGISTERED_CLASS(VLGWorld, CCollaborator)

 public:
  VLGWorld() = default;
  // Releases the world.
  ~VLGWorld() override;

  // Remembers the current port and device and makes a one-bit world at the bounds: pixel depth
  // 1, transfer mode srcCopy, copy colour black, not at the screen's depth. Answers noErr, or
  // the drawing layer's error (memFullErr, paramErr) with no world made.
  virtual OSErr IVLGWorld(const Rect* bounds);
  // A new world at the current pixel depth and the new bounds, cleared to white, in place of
  // the old one; the current port is kept. When the new world cannot be made the old one stays,
  // with its bounds, and the error is answered.
  virtual OSErr Resize(const Rect* bounds);
  // Remembers the current port and device, makes the world current with black on white, then
  // erases and clips to the draw rectangle when it is enabled, else to the bounds.
  virtual void BeginDrawing();
  // The same without colours, erasing or clipping.
  virtual void BeginDrawingNoErase();
  // Remakes the world at the screen's depth (depth 0 of the drawing layer), keeping its picture.
  // On success the pixel depth becomes 0 and the screen-depth flag 1; on failure nothing changes
  // and the error is answered.
  virtual OSErr UseScreenDepth();
  // Remakes the world at that depth (0, 1, 16 or 32), keeping its picture, and stores it; on
  // failure nothing changes and the error is answered.
  virtual OSErr SetDepth(SInt16 depth);
  // Makes the remembered port and device current again.
  virtual void EndDrawing();
  // Whether offscreen worlds can be had: the drawing layer always offers them in colour.
  virtual Boolean OffscreenAvailable();
  // Foreground black; the whole world onto the bit map's bounds with the transfer mode.
  virtual void CopyToBitMap(PixMap bitMap);
  // Foreground the copy colour, background white; the whole world onto the world's bounds in
  // that port's pixels.
  virtual void CopyToPort(GrafPtr port);
  // Foreground the copy colour, background white; into the current port: the rectangle onto
  // itself when useRect is set, else the whole world onto its bounds.
  virtual void CopyToCurrentPort(UInt8 useRect, const Rect* rect);
  // Black on white; that rectangle of the world onto the same rectangle of the current port.
  virtual void CopyRectToCurrentPort(const Rect* rect);
  virtual void SetTransferMode(SInt16 mode) { transferMode = mode; }
  // With use set, stores the rectangle and enables it; otherwise disables it.
  virtual void SetDrawRect(const Rect* rect, UInt8 use);
  // That rectangle of the world onto the same rectangle of the current port through the mask
  // (in the current port's coordinates), colours as they are.
  virtual void CopyRectMasked(const Rect* rect, RgnHandle mask);

  GWorldPtr GetWorld() const { return world; }
  const Rect& GetBounds() const { return bounds; }
  SInt16 GetPixelDepth() const { return pixelDepth; }
  UInt8 UsesScreenDepth() const { return screenDepth; }
  SInt16 GetTransferMode() const { return transferMode; }
  // The depth of the world's pixels (1, 16 or 32); 0 without a world.
  SInt16 ActualDepth() const;
  void SetCopyColor(const RGBColor& colour) { copyColor = colour; }

 protected:
  // Every copy: the world's pixels locked around a copy from srcRect onto dstRect of dst with
  // the transfer mode. Nothing without a world.
  void CopyOut(GWorldPtr source, const PixMap* dst, const Rect* srcRect, const Rect* dstRect, SInt16 mode,
               RgnHandle mask);
  // CopyToCurrentPort from that world.
  void CopyToCurrentPortFrom(GWorldPtr source, UInt8 useRect, const Rect* rect);
  // Remembers the current port and device and makes the world current (the empty port when
  // there is none).
  void EnterWorld(GWorldPtr target);
  void LeaveWorld(GWorldPtr target);

  GWorldPtr world = nullptr;
  CGrafPtr savedPort = nullptr;
  GDHandle savedDevice = nullptr;
  Rect bounds;
  Rect drawRect;
  UInt8 screenDepth = 0;
  SInt16 transferMode = srcCopy;
  SInt16 pixelDepth = 1;
  UInt8 useDrawRect = 0;
  RGBColor copyColor;  // black
};

class VLGWorldOS : public VLGWorld {
  VL_REGISTERED_CLASS(VLGWorldOS, VLGWorld)

 public:
  // Releases the shared world (clearing gSavedOffscreen), then the world.
  void Dispose() override;

  // The base set-up; then a shared world that exists is made again, one bit deep, at the bounds.
  OSErr IVLGWorld(const Rect* bounds) override;
  // The base operation; then the shared world is remade at the screen's depth at the bounds
  // (made when missing).
  OSErr UseScreenDepth() override;
  // The base operation; then the shared world at the same depth and bounds.
  OSErr SetDepth(SInt16 depth) override;
  // The base operation; then the shared world is made anew at the pixel depth and new bounds.
  OSErr Resize(const Rect* bounds) override;
  // As the base, but from the shared world.
  void CopyRectToCurrentPort(const Rect* rect) override;
  // As CopyToCurrentPort, but from the shared world.
  void CopySavedToCurrentPort(UInt8 useRect, const Rect* rect);
  // Releases the shared world and makes it at the world's pixel depth and bounds; answers the
  // drawing layer's error (gSavedOffscreen is then null).
  OSErr RecreateSaved();
  // Makes the shared world when it is missing, then copies the whole pane world onto it.
  // Answers the error when the shared world cannot be made (nothing is copied).
  OSErr SaveImage();
  // srcRect of the port's pixels onto dstRect of the shared world with the mode; rectangles in
  // 32-bit coordinates, clamped to 16 bits.
  void CopyIntoSaved(GrafPtr port, const LongRect* srcRect, const LongRect* dstRect, SInt16 mode);
  // As BeginDrawingNoErase and EndDrawing, for the shared world.
  void BeginDrawingSaved();
  void EndDrawingSaved();
};
