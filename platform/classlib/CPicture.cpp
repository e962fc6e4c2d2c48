#include "CPicture.h"

#include "Resources.h"

CPicture::~CPicture() { ReleasePicture(); }

void CPicture::IPicture(CView* enclosure, CBureaucrat* supervisor, SInt16 w, SInt16 h, SInt16 hE, SInt16 vE,
                        SizingOption hS, SizingOption vS, SInt16 id) {
  Init(enclosure, supervisor, w, h, hE, vE, hS, vS);
  SetPictureID(id);
}

void CPicture::ReleasePicture() {
  if (macPicture && ownsPicture) PortKillPicture(macPicture);
  macPicture = nullptr;
  ownsPicture = false;
}

void CPicture::SetPictureID(SInt16 id) {
  ReleasePicture();
  pictureID = id;
  // A resource stays the resource chain's.
  if (id != 0) macPicture = reinterpret_cast<PicHandle>(PortLoadResource(FourCC("PICT"), id));
  Refresh();
}

void CPicture::SetMacPicture(PicHandle picture, Boolean owned) {
  if (picture == macPicture) {
    ownsPicture = owned;
    return;
  }
  ReleasePicture();
  pictureID = 0;
  macPicture = picture;
  ownsPicture = owned;
  Refresh();
}

void CPicture::Draw(const Rect*) {
  Rect r;
  LongToQDRect(&frame, &r);
  if (macPicture && PortCheckPicture(macPicture) == noErr) PortDrawPicture(macPicture, &r);
}
