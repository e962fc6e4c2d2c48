#include "DialogBase.h"

DialogBase* gCurrentDialog = nullptr;
SInt16 gOpenDialogCount = 0;

DialogBase::DialogBase() {
  dispatch.previous = gCurrentDialog;
  gCurrentDialog = this;
  ++gOpenDialogCount;
}

DialogBase::~DialogBase() {
  gCurrentDialog = dispatch.previous;
  --gOpenDialogCount;
}

Boolean DialogBase::OtherMessage(HWND, UINT, WPARAM, LPARAM) { return false; }
Boolean DialogBase::Init(HWND) { return false; }
Boolean DialogBase::Command(HWND, int, HWND, int) { return false; }
Boolean DialogBase::HorizontalScroll(HWND, HWND, int, int) { return false; }
Boolean DialogBase::VerticalScroll(HWND, HWND, int, int) { return false; }
Boolean DialogBase::Notify(HWND, int, NMHDR*) { return false; }

Boolean DialogBase::RunModal(HWND parent, SInt16 resourceId) {
  return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(WORD(resourceId)), parent, DialogProc, 0) > 0;
}

INT_PTR DialogBase::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogBase* d = gCurrentDialog;
  if (!d) return 0;
  Boolean answered = false;
  switch (message) {
    case WM_INITDIALOG:
      answered = d->Init(dialog);
      break;
    case WM_COMMAND:
      answered = d->Command(dialog, LOWORD(wParam), reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      break;
    case WM_HSCROLL:
      answered = d->HorizontalScroll(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
      break;
    case WM_VSCROLL:
      answered = d->VerticalScroll(dialog, reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
      break;
    case WM_NOTIFY:
      answered = d->Notify(dialog, int(wParam), reinterpret_cast<NMHDR*>(lParam));
      break;
    default:
      answered = d->OtherMessage(dialog, message, wParam, lParam);
      break;
  }
  return answered ? 1 : 0;
}
