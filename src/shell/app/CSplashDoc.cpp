#include "CSplashDoc.h"

#include <new>

#include "CApplication.h"
#include "CDesktop.h"
#include "CException.h"
#include "CPicture.h"
#include "VLWindow.h"
#include "Events.h"
#include "Screen.h"

void CSplashDoc::ISplashDoc(CDirectorOwner* supervisor, SInt16 picture) {
  IDocument(supervisor, false);
  pictureID = picture;
}

void CSplashDoc::NewFile() {
  VLWindow* window = VLWindow::Make(kWindowID, this);
  auto* picture = new (std::nothrow) CPicture;
  FailNIL(picture);
  picture->IPicture(window, this, kPictureWidth, kPictureHeight, 0, 0, sizFIXEDLEFT, sizFIXEDTOP, pictureID);
  Rect screen;
  PortGetScreenBounds(&screen);
  window->MoveTo(SInt16((screen.right - kPictureWidth) / 2), SInt16((screen.bottom - 320) / 2));
}

void CSplashDoc::Show(Boolean wait) {
  if (!itsWindow) return;
  itsWindow->Show();
  itsWindow->Select();
  itsWindow->Update();
  if (!wait) return;
  while (!PortMouseButton()) {
  }
  PortFlushEvents(everyEvent, 0);
}
