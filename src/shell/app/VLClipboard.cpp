#include "VLClipboard.h"

#include <new>

#include "CException.h"
#include "VLArray.h"

VLClipboard::~VLClipboard() { DisposeHeldObjects(); }

void VLClipboard::IVLClipboard(CBureaucrat* supervisor) { IClipboard(supervisor, false); }

void VLClipboard::DisposeHeldObjects() {
  VLArray* held = heldObjects;
  heldObjects = nullptr;
  if (!held) return;
  for (long i = held->GetNumItems(); i >= 1; --i) {
    auto* object = static_cast<CCollaborator*>(held->PointerAt(i));
    held->DeleteItem(i);
    if (object) object->Dispose();
  }
  held->Dispose();
}

void VLClipboard::PutData(ResType type, void* data) {
  if (type == kObjectsType) {
    // The array held already stays as it is.
    if (data != heldObjects) {
      DisposeHeldObjects();
      heldObjects = static_cast<VLArray*>(data);
    }
    UpdateDisplay();
    return;
  }
  CClipboard::PutData(type, data);
}

Boolean VLClipboard::GetData(ResType type, void** result) {
  if (type != kObjectsType) return CClipboard::GetData(type, result);
  if (!heldObjects || heldObjects->GetNumItems() == 0) return false;
  auto* copy = new (std::nothrow) VLArray(VLArray::kPointerSize);
  FailNIL(copy);
  for (long i = 1; i <= heldObjects->GetNumItems(); ++i) copy->AppendPointer(heldObjects->PointerAt(i));
  if (result)
    *result = copy;
  else
    copy->Dispose();
  return true;
}

long VLClipboard::DataSize(ResType type) {
  if (type == kObjectsType) return heldObjects && heldObjects->GetNumItems() > 0 ? 1 : 0;
  return CClipboard::DataSize(type);
}

void VLClipboard::Dispose() {
  DisposeHeldObjects();
  CClipboard::Dispose();
}
