// Colour, phase, visibility and the object's material: its id and the copy that carries the
// material from one document to another through copy and paste.
#include <new>

#include "ColorPicker.h"
#include "D3TMaterial.h"
#include "D3TMaterialList.h"
#include "DETException.h"
#include "PhaseRecord.h"
#include "Resources.h"
#include "VLUser3DObject.h"

// White until the user picks a colour: shaded views light it, wireframes draw it at half, in grey.
RGBColor gDefaultObjectColor{0xFFFF, 0xFFFF, 0xFFFF};

namespace {

constexpr SInt16 kPromptStrings = 2600;
constexpr SInt16 kColorPrompt = 1;

// The record of a phase; false when there is no phase list or no record for it.
bool FindPhase(SInt16 phase, PhaseRecord* record) {
  if (!gCurrentPhases || gCurrentPhases->IndexOfKey(phase) == 0) return false;
  gCurrentPhases->GetItemByKey(record, phase);
  return true;
}

RGBColor HalfOf(const RGBColor& colour) {
  return RGBColor{UInt16(colour.red >> 1), UInt16(colour.green >> 1), UInt16(colour.blue >> 1)};
}

}  // namespace

Boolean AskObjectColor(const RGBColor& from, RGBColor* chosen) {
  Str255 prompt;
  PortGetListString(prompt, kPromptStrings, kColorPrompt);
  return PortGetColor(Point{0, 0}, prompt, &from, chosen);
}

Boolean VLUser3DObject::ChooseColor() {
  RGBColor chosen;
  if (!AskObjectColor(color, &chosen)) return false;
  color = chosen;
  drawColor = HalfOf(chosen);
  gDefaultObjectColor = chosen;
  changed = 1;
  return true;
}

void VLUser3DObject::SetColor(const RGBColor* colour) {
  color = *colour;
  drawColor = HalfOf(*colour);
  changed = 1;
}

RGBColor* VLUser3DObject::GetColor(RGBColor* out) {
  *out = color;
  return out;
}

Boolean VLUser3DObject::MarkChanged() {
  if (!IsVisible()) return false;
  changed = 1;
  needsRedraw = 1;
  return true;
}

Boolean VLUser3DObject::IsVisible() {
  if (typeCode == kObjectTypeOpening) return true;
  if (hidden) return false;
  PhaseRecord record;
  return FindPhase(phase, &record) && record.visible;
}

Boolean VLUser3DObject::IsSelectable() {
  PhaseRecord record;
  return FindPhase(phase, &record) && record.visible && record.selectable;
}

void VLUser3DObject::SetPhase(SInt16 newPhase) { phase = newPhase; }

void VLUser3DObject::SetMaterialIndex(SInt32 id) { materialId = id; }

SInt32 VLUser3DObject::GetMaterialIndex() { return materialId; }

void VLUser3DObject::CreateMaterialObject(D3TMaterialList* materials) {
  if (materialId <= 0 || !materials) return;
  D3TMaterial* material = nullptr;
  if (!materials->GetMaterial(materialId, &material)) {
    // No dangling id: the object has no material.
    materialId = 0;
    return;
  }
  delete materialObject;
  materialObject = new (std::nothrow) D3TMaterial(*material);
  if (materialObject) materialObject->DetachFromList();
}

void VLUser3DObject::UpdateMaterialObject(D3TMaterialList* materials) {
  if (materialId <= 0 || !materialObject || !materials) return;
  SInt32 id = 0;
  if (materials->FindByName(materialObject->GetName(), nullptr, &id)) {
    materialId = id;
    return;
  }
  id = materials->NewMaterialId();
  auto* copy = new (std::nothrow) D3TMaterial(*materialObject);
  if (!copy) ThrowIfOSErr(memFullErr, kDEErrorNotEnoughMemory);
  materials->AddMaterial(id, copy);
  materialId = id;
  delete materialObject;
  materialObject = nullptr;
}
