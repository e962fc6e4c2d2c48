// The program's clipboard: besides the class library's typed data it holds the copied model
// objects under the program's own type 'DOCC', as an owned array of object pointers.
#pragma once

#include "CClipboard.h"

class VLArray;

class VLClipboard : public CClipboard {
  VL_REGISTERED_CLASS(VLClipboard, CClipboard)

 public:
  static constexpr ResType kObjectsType = FourCC("DOCC");

  VLClipboard() = default;
  ~VLClipboard() override;

  void IVLClipboard(CBureaucrat* supervisor);

  // 'DOCC': data is a VLArray of model objects that the clipboard now owns; the objects held
  // before are disposed. Other types as the class library keeps them.
  void PutData(ResType type, void* data) override;
  // 'DOCC': a new VLArray (the caller's) holding the same objects in the same order; false when
  // none are held.
  Boolean GetData(ResType type, void** result) override;
  // 'DOCC': 1 when objects are held, else 0.
  long DataSize(ResType type) override;
  void Dispose() override;

  const VLArray* HeldObjects() const { return heldObjects; }

 private:
  void DisposeHeldObjects();

  VLArray* heldObjects = nullptr;
};
