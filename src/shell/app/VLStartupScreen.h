// The start-up screen: picture 132, shown from the application's initialiser until the first
// document takes its place.
#pragma once

#include "CSplashDoc.h"

class VLStartupScreen : public CSplashDoc {
  VL_REGISTERED_CLASS(VLStartupScreen, CSplashDoc)

 public:
  static constexpr SInt16 kPictureID = 132;

  VLStartupScreen() = default;
  void IVLStartupScreen(CDirectorOwner* supervisor) { ISplashDoc(supervisor, kPictureID); }
  // Shows it without waiting.
  void ShowStartup() { Show(false); }
  // The application forgets it as it goes.
  void Dispose() override;
};
