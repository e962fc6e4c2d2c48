// The about box: picture 135, shown until the mouse button is pressed.
#pragma once

#include "CSplashDoc.h"

class VLAboutBox : public CSplashDoc {
  VL_REGISTERED_CLASS(VLAboutBox, CSplashDoc)

 public:
  static constexpr SInt16 kPictureID = 135;

  VLAboutBox() = default;
  void IVLAboutBox(CDirectorOwner* supervisor) { ISplashDoc(supervisor, kPictureID); }
  // Shows it and waits for the mouse button.
  void ShowAbout() { Show(true); }
};
