// The clipboard as a model: data of several types held under four-character codes. The base
// keeps a copy of each block put (a Handle) and hands out copies; a program clipboard may hold
// its own kinds of data and override the four operations. Closing the clipboard's director only
// hides it: the clipboard lives as long as the application.
#pragma once

#include <vector>

#include "CDirector.h"

class CClipboard : public CDirector {
  VL_REGISTERED_CLASS(CClipboard, CDirector)

 public:
  CClipboard() = default;
  ~CClipboard() override;

  // The supervisor is the application; the clipboard is not one of its closable directors.
  void IClipboard(CBureaucrat* supervisor, Boolean visible);
  Boolean IsVisible() const { return visible; }

  // Forgets everything held.
  virtual void EmptyScrap();
  // Holds data of the type, replacing what that type held. The base takes a Handle and keeps a
  // copy of its block (null: the type is removed).
  virtual void PutData(ResType type, void* data);
  // A copy of the type's data into *result (the base: a new Handle, the caller's to free);
  // false, with *result untouched, when the type is not held.
  virtual Boolean GetData(ResType type, void** result);
  // Size in bytes of the type's data; 0 when not held.
  virtual long DataSize(ResType type);
  // Types held, in the order they were put.
  std::vector<ResType> HeldTypes() const;
  // The clipboard's display shows the new contents (drawn by the window layer).
  virtual void UpdateDisplay();

  Boolean Close(Boolean quitting) override;

 protected:
  struct Entry {
    ResType type;
    Handle data;
  };
  std::vector<Entry> entries;
  Boolean visible = false;
};

extern CClipboard* gClipboard;
