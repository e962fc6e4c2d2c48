// A pane that shows a picture ('PICT' resource or a picture handle), drawn into its frame.
#pragma once

#include "CPane.h"

class CPicture : public CPane {
  VL_REGISTERED_CLASS(CPicture, CPane)

 public:
  CPicture() = default;
  ~CPicture() override;

  // Shows 'PICT' resource pictureID (0: none yet).
  void IPicture(CView* enclosure, CBureaucrat* supervisor, SInt16 width, SInt16 height, SInt16 hEncl, SInt16 vEncl,
                SizingOption hSizing, SizingOption vSizing, SInt16 pictureID);
  // Shows another 'PICT' resource; a missing one shows nothing.
  void SetPictureID(SInt16 pictureID);
  SInt16 GetPictureID() const { return pictureID; }
  // Shows a picture of the caller's; owned: the pane frees it when it no longer shows it.
  void SetMacPicture(PicHandle picture, Boolean owned);
  PicHandle GetMacPicture() const { return macPicture; }

  void Draw(const Rect* area) override;

 private:
  void ReleasePicture();

  SInt16 pictureID = 0;
  PicHandle macPicture = nullptr;
  Boolean ownsPicture = false;
};
