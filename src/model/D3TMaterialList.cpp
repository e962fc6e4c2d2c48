// The material set: ids, lookups, changes, the use check, the "Textures" folder and the
// document's material block.
#include "D3TMaterialList.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>

#include "CMenuManager.h"
#include "DETException.h"
#include "FileOps.h"
#include "FilePaths.h"
#include "Folders.h"
#include "TextLines.h"

D3TMaterialList* gCurrentMaterials = nullptr;

namespace {

constexpr OSType kPictureType = FourCC("PICT");
constexpr const char* kTexturesFolderName = "Textures";

// Materials are created with new and deleted by their set.
using MaterialOwner = std::unique_ptr<D3TMaterial>;

}  // namespace

// ---- Life ----

D3TMaterialList::D3TMaterialList() : materials(new D3TMaterialArray) { SetCurrentMaterial(0); }

D3TMaterialList::D3TMaterialList(const D3TMaterialList& source)
    : CCollaborator(),
      currentMaterial(source.currentMaterial),
      headerText(source.headerText),
      texturesFolder(source.texturesFolder),
      texturesFolderDate(source.texturesFolderDate),
      changed(source.changed),
      materials(source.materials) {
  FSSpec spec;
  source.prefFile.GetFSSpec(&spec);
  prefFile.SpecifyFSSpec(&spec);
  if (!source.prefFile.GetPath().empty()) prefFile.MakePath();
  ++materials->references;
}

D3TMaterialList::~D3TMaterialList() {
  if (gCurrentMaterials == this) gCurrentMaterials = nullptr;
  if (--materials->references > 0) return;
  for (long i = materials->GetNumItems(); i >= 1; --i) delete materials->MaterialAt(i);
  delete materials;
}

void D3TMaterialList::UpdateMenus() {
  if (gMenuManager) gMenuManager->EnableCommand(cmdMaterialDialog);
}

void D3TMaterialList::MarkChangedAndEnable() {
  changed = true;
  UpdateMenus();
}

// ---- Lookups ----

Boolean D3TMaterialList::GetMaterial(SInt32 id, D3TMaterial** material) const {
  const long index = materials->IndexOfKey(id);
  if (index == 0) return false;
  *material = materials->MaterialAt(index);
  return true;
}

Boolean D3TMaterialList::IsSpotLight(SInt32 id) const {
  D3TMaterial* material = nullptr;
  return GetMaterial(id, &material) && material->IsSpotLight();
}

Boolean D3TMaterialList::IsPointLight(SInt32 id) const {
  D3TMaterial* material = nullptr;
  return GetMaterial(id, &material) && material->IsPointLight();
}

Boolean D3TMaterialList::IsLight(SInt32 id) const {
  D3TMaterial* material = nullptr;
  return GetMaterial(id, &material) && material->IsLight();
}

// By index rather than with the set's cursor, so that a search may run inside a walk.
template <class Match>
Boolean D3TMaterialList::FindFirst(Match match, D3TMaterial** material, SInt32* id) const {
  for (long i = 1; i <= materials->GetNumItems(); ++i) {
    D3TMaterial* candidate = materials->MaterialAt(i);
    if (!match(candidate)) continue;
    if (material) *material = candidate;
    if (id) *id = materials->KeyAt(i);
    return true;
  }
  return false;
}

Boolean D3TMaterialList::FindByName(ConstStringPtr text, D3TMaterial** material, SInt32* id) const {
  return FindFirst([text](const D3TMaterial* m) { return m->HasName(text); }, material, id);
}

Boolean D3TMaterialList::FindByPictureFile(ConstStringPtr text, D3TMaterial** material, SInt32* id) const {
  return FindFirst([text](const D3TMaterial* m) { return m->HasPictureFile(text); }, material, id);
}

D3TMaterial* D3TMaterialList::GetMaterialAt(long index) const {
  return index >= 1 && index <= materials->GetNumItems() ? materials->MaterialAt(index) : nullptr;
}

SInt32 D3TMaterialList::GetMaterialId(long index) const {
  return index >= 1 && index <= materials->GetNumItems() ? materials->KeyAt(index) : 0;
}

long D3TMaterialList::HasMaterial(SInt32 id) const { return id == 0 ? 0 : materials->IndexOfKey(id); }

Boolean D3TMaterialList::GetFirstMaterial(D3TMaterial** material, SInt32* id) {
  void* item = nullptr;
  materials->First(&item, id);
  if (*id == 0) return false;
  *material = static_cast<D3TMaterial*>(item);
  return true;
}

Boolean D3TMaterialList::GetNextMaterial(D3TMaterial** material, SInt32* id) {
  void* item = nullptr;
  materials->Next(&item, id);
  if (*id == 0) return false;
  *material = static_cast<D3TMaterial*>(item);
  return true;
}

void D3TMaterialList::SetCurrentMaterial(SInt32 id) {
  currentMaterial = id;
  MarkChangedAndEnable();
}

// ---- Changes ----

void D3TMaterialList::AddMaterial(SInt32 id, D3TMaterial* material) {
  MaterialOwner owned(material);
  ThrowIfNil(material);
  materials->Append(&material, id);
  owned.release()->owner = materials;
  changed = true;
}

void D3TMaterialList::AddOrReplace(D3TMaterial* material, Boolean replace) {
  MaterialOwner owned(material);
  ThrowIfNil(material);
  D3TMaterial* existing = nullptr;
  if (!FindByName(material->GetName(), &existing, nullptr)) {
    AddMaterial(NewMaterialId(), owned.release());
    return;
  }
  if (replace) {
    *existing = *material;
    changed = true;
  }
}

void D3TMaterialList::ScanTexturesFolder() {
  if (texturesFolder == 0) return;
  FSSpec prefSpec;
  prefFile.GetFSSpec(&prefSpec);
  for (int index = 1; index <= 32767; ++index) {
    Str63 entryName;
    CatalogInfo info;
    info.name = entryName;
    info.vRefNum = vlfiles::kVolumeRef;
    info.dirID = texturesFolder;
    info.index = SInt16(index);
    if (PortFileParamCall(&info, false) != noErr) break;
    if ((info.attributes & kFolderAttribute) || info.fileType != kPictureType) continue;
    // A name with a control character (a line break above all) could not be written in either
    // text form and read back.
    const std::string name = PStrToStd(entryName);
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) continue;
    if (PStrEqual(entryName, prefSpec.name) || FindByPictureFile(entryName, nullptr, nullptr)) continue;
    AddMaterial(NewMaterialId(), new D3TMaterial(this, D3TMaterial::kTiledTexture, entryName));
  }
}

void D3TMaterialList::ResetTextureFailures() {
  for (long i = materials->GetNumItems(); i >= 1; --i) {
    D3TMaterial* material = materials->MaterialAt(i);
    material->textureFailures = 0;
    if (!material->textureShader) material->textureTried = 0;
  }
}

// ---- The use check ----

void D3TMaterialList::ClearUsedFlags() {
  for (long i = materials->GetNumItems(); i >= 1; --i) materials->MaterialAt(i)->inUse = 0;
}

void D3TMaterialList::MarkMaterial(SInt32 id) {
  D3TMaterial* material = nullptr;
  if (id != 0 && GetMaterial(id, &material)) material->inUse = 1;
}

long D3TMaterialList::CountUnusedMaterials() const {
  long unused = 0;
  for (long i = 1; i <= materials->GetNumItems(); ++i)
    if (!materials->MaterialAt(i)->inUse) ++unused;
  return unused;
}

void D3TMaterialList::RemoveUnusedMaterials() {
  for (long i = materials->GetNumItems(); i >= 1; --i) {
    D3TMaterial* material = materials->MaterialAt(i);
    if (material->inUse) continue;
    // Ids are given again once no larger one is left: the current material must not come to
    // name a material made later.
    if (materials->KeyAt(i) == currentMaterial) currentMaterial = 0;
    materials->DeleteItem(i);
    delete material;
    changed = true;
  }
  materials->NotifyDependents(kMaterialsRemoved, nullptr);
  MarkChangedAndEnable();
}

// ---- The "Textures" folder ----

UInt32 D3TMaterialList::GetTexturesFolderDate() const {
  const std::string config = vlfiles::ConfigDir(false);
  if (config.empty()) return 0;
  const std::string folder = config + "/" + kTexturesFolderName;
  CatalogInfo info;
  info.vRefNum = vlfiles::kVolumeRef;
  info.dirID = vlfiles::FolderIdForPath(folder);
  info.index = -1;
  if (PortFileParamCall(&info, false) != noErr || !(info.attributes & kFolderAttribute)) return 0;
  return info.modDate;
}

// ---- The document's material block ----

void D3TMaterialList::WriteMaterials(std::FILE* file) const {
  vltext::CheckPrint(std::fprintf(file, "\nnumMaterials: %d\n", int(materials->GetNumItems() + 1)),
                     kDEErrorErrorWritingFile);
  vltext::CheckPrint(std::fprintf(file, "\nMaterial: %s\n%d\n", "none", 0), kDEErrorErrorWritingFile);
  vltext::CheckStream(file, kDEErrorErrorWritingFile);
  for (long i = 1; i <= materials->GetNumItems(); ++i) materials->MaterialAt(i)->WriteText(file, materials->KeyAt(i));
}

Boolean D3TMaterialList::ReadMaterialRecord(std::istream& in, char delimiter) {
  MaterialOwner material(new D3TMaterial(this, D3TMaterial::kProperties, Str255("")));
  SInt32 id = 0;
  material->ReadText(in, &id, delimiter);
  if (in.fail() || id <= 0) return false;
  AddMaterial(id, material.release());
  return true;
}

void D3TMaterialList::SubmitMaterials(TQ3ViewObject view) {
  for (long i = 1; i <= materials->GetNumItems(); ++i) materials->MaterialAt(i)->Submit(view);
}
