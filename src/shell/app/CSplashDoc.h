// A splash document: a window without a title bar, centred on the main screen, showing one
// picture in a 440 by 300 pane. The about box and the start-up screen are splash documents.
#pragma once

#include "CDocument.h"

class CPicture;

class CSplashDoc : public CDocument {
  VL_REGISTERED_CLASS(CSplashDoc, CDocument)

 public:
  static constexpr SInt16 kWindowID = 135;
  static constexpr SInt16 kPictureWidth = 440;
  static constexpr SInt16 kPictureHeight = 300;

  CSplashDoc() = default;

  // Under the supervisor, showing 'PICT' pictureID once its window is built.
  void ISplashDoc(CDirectorOwner* supervisor, SInt16 pictureID);
  // Builds the window with the picture (hidden): left (screen right - 440) / 2, top (screen
  // bottom - 320) / 2.
  void NewFile() override;
  SInt16 GetPictureID() const { return pictureID; }

  // Shows the window and draws it at once; with wait, waits until the mouse button is pressed
  // and discards the events meanwhile.
  virtual void Show(Boolean wait);

 private:
  SInt16 pictureID = 0;
};
