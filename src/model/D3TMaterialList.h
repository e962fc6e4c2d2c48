// The materials a document can use, each under a numeric material id, with the document's
// current material (the one new objects take) and the bookkeeping that keeps the set in step
// with the material preference file "VL Material Prefs" and the "Textures" folder beside it, in
// the program's configuration folder. Every document holds one list; a document made from
// another shares that document's materials (the copying constructor).
//
// Material ids are positive: a new id is one more than the largest in the set (ids are not
// reused while a larger one exists). Id 0 means no material everywhere. Lookups of unknown ids
// answer false and leave the out values alone.
//
// Implemented in D3TMaterialList.cpp (the set, the use check, the "Textures" folder, the
// document's material block) and D3TMaterialListPrefs.cpp (the preference file).
#pragma once

#include <cstdio>
#include <istream>
#include <string>

#include "CCollaborator.h"
#include "D3TMaterial.h"
#include "D3TMaterialPrefFile.h"
#include "Q3Types.h"
#include "VLIndexedCluster.h"

// The keyed array of materials that lists share: its keys are the material ids, its items
// pointers to the materials it owns, in insertion order. It counts the lists that share it; the
// last one to go deletes it with its materials. Its dependents hear of a purge (reason 333).
class D3TMaterialArray : public VLIndexedCluster {
  VL_REGISTERED_CLASS(D3TMaterialArray, VLIndexedCluster)

 public:
  D3TMaterialArray() : VLIndexedCluster(VLArray::kPointerSize) {}

  D3TMaterial* MaterialAt(long index) const { return static_cast<D3TMaterial*>(PointerAt(index)); }
  long ReferenceCount() const { return references; }

 private:
  friend class D3TMaterialList;
  long references = 1;
};

class D3TMaterialList : public CCollaborator {
  VL_REGISTERED_CLASS(D3TMaterialList, CCollaborator)

 public:
  // Notice of the array to its dependents after a purge.
  static constexpr long kMaterialsRemoved = 333;
  // The command that opens the material dialog, enabled whenever the set or the current
  // material changes.
  static constexpr long cmdMaterialDialog = 8110;
  // Text resource of the default material set.
  static constexpr SInt16 kDefaultSetResource = 255;
  // Alerts: the preference file is damaged at a line (^0), a default record is damaged at a
  // line (^0), the "Textures" folder changed (item 1 adds materials for its new pictures).
  static constexpr SInt16 kPrefFileDamagedAlert = 4012;
  static constexpr SInt16 kDefaultSetDamagedAlert = 4014;
  static constexpr SInt16 kTexturesChangedAlert = 129;

  // An empty set of its own, no current material, changed.
  D3TMaterialList();
  // Shares the source's set; takes its preference file, current material, header text, folder
  // bookkeeping and changed mark.
  D3TMaterialList(const D3TMaterialList& source);
  // Drops this list's share; the last list deletes the materials and the set.
  ~D3TMaterialList() override;

  // ---- Lookups ----

  Boolean GetMaterial(SInt32 id, D3TMaterial** material) const;
  Boolean IsSpotLight(SInt32 id) const;
  Boolean IsPointLight(SInt32 id) const;
  Boolean IsLight(SInt32 id) const;
  // The first material, in set order, whose name (or picture file) equals the text as the
  // platform compares strings.
  Boolean FindByName(ConstStringPtr text, D3TMaterial** material, SInt32* id) const;
  Boolean FindByPictureFile(ConstStringPtr text, D3TMaterial** material, SInt32* id) const;
  long GetCount() const { return materials->GetNumItems(); }
  // By 1-based index; null and 0 outside the set.
  D3TMaterial* GetMaterialAt(long index) const;
  SInt32 GetMaterialId(long index) const;
  // The id's 1-based position in the set; 0 for id 0 and for an id not there.
  long HasMaterial(SInt32 id) const;
  // A walk in set order with the set's one cursor (one walk at a time); false and an id of 0 at
  // the end.
  Boolean GetFirstMaterial(D3TMaterial** material, SInt32* id);
  Boolean GetNextMaterial(D3TMaterial** material, SInt32* id);
  SInt32 GetCurrentMaterial() const { return currentMaterial; }
  // Stores the id, marks the list changed and enables the material dialog's command.
  void SetCurrentMaterial(SInt32 id);
  // The list's part of a menu update: the material dialog's command enabled.
  void UpdateMenus();
  // One more than the largest id in the set (1 when empty). Raises kDEErrorAssertionViolated
  // when the largest is 2147483647.
  SInt32 NewMaterialId() const { return materials->NewKey(); }
  D3TMaterialArray* GetMaterials() const { return materials; }
  Boolean IsChanged() const { return changed; }
  const std::string& GetHeaderText() const { return headerText; }
  D3TMaterialPrefFile& GetPrefFile() { return prefFile; }

  // ---- Changes ----

  // Appends the material under the id and marks the list changed. The list takes the material:
  // when appending fails it is deleted and the failure passes on.
  void AddMaterial(SInt32 id, D3TMaterial* material);
  // A material of a new name is added under a new id. Otherwise, with replace, the material of
  // that name takes the new one's contents (keeping its id); in both of these last cases the
  // given material is deleted.
  void AddOrReplace(D3TMaterial* material, Boolean replace);
  // Adds a tiled texture material for each picture file (type 'PICT') of the "Textures" folder
  // that no material names as its picture file, but for the preference file and names with a
  // control character; materials whose file went away stay.
  void ScanTexturesFolder();
  // Clears every material's texture failures, and its tried flag when it has no shader, so that
  // the next request loads the texture again.
  void ResetTextureFailures();

  // ---- The use check of the document's purge, called in this order ----

  void ClearUsedFlags();
  // Id 0 and unknown ids are ignored.
  void MarkMaterial(SInt32 id);
  long CountUnusedMaterials() const;
  // Deletes every material not marked (the current material becomes 0 when it is one of them),
  // tells the set's dependents (kMaterialsRemoved) and enables the material dialog's command.
  void RemoveUnusedMaterials();

  // ---- The "Textures" folder ----

  // The folder's modification date; 0 when it is not there.
  UInt32 GetTexturesFolderDate() const;
  Boolean TexturesFolderChanged() const { return GetTexturesFolderDate() != texturesFolderDate; }
  void NoteTexturesFolderDate() { texturesFolderDate = GetTexturesFolderDate(); }
  SInt32 GetTexturesFolder() const { return texturesFolder; }

  // ---- Files ----

  // The material block of the native file: "\nnumMaterials: N\n" (the count plus one), the
  // "none" entry with id 0, then every material's record with its id. A failed write raises
  // -36 in the context kDEErrorErrorWritingFile (the block's head) or as the material records
  // do.
  void WriteMaterials(std::FILE* file) const;
  // Reads one material record of the block after its "Material:" word (a kind-3 material with
  // an empty name reads itself) and adds it under the id read when the stream has not failed
  // and the id is above 0; true when it was added. A failed stream is left failed.
  Boolean ReadMaterialRecord(std::istream& in, char delimiter);
  // Submits every material's attribute set to a view, in set order.
  void SubmitMaterials(TQ3ViewObject view);

  // The preference file, when a document is made or opened: read when it is there (then the
  // "Textures" folder is scanned); otherwise the default set, the scan, and the file written.
  // A configuration folder where the folder cannot be made, or the file cannot be read or
  // written, is reported and the list goes on with the default set and without writing.
  void ReadPrefs();
  // Finds or makes the "Textures" folder and names the preference file in it. A folder that
  // cannot be made raises kDEErrorTextureFolderNotFound.
  void OpenPrefFile();
  // Reads the file: its comment lines at the top become the header text; each material line is
  // added or replaces the material of its name. A file that cannot be opened raises -36 in the
  // context kDEErrorErrorReadingMaterialPrefFile; a malformed line ends the reading with alert
  // 4012 naming the line, and the materials before it stay.
  void ReadPrefFile();
  // The default set from text resource 255, its comment lines as the header text. A resource
  // that cannot be read raises kDEErrorReadingApplicationResource (a missing one loads nothing);
  // a malformed record ends the reading with alert 4014 naming the line.
  void LoadDefaultMaterials();
  // Rewrites the file through a complete new file that replaces the old only when written: three
  // fresh header lines, the header text, every material's line. A failure leaves the old file as
  // it was and raises the error in the context kDEErrorErrorWritingMaterialPrefFile.
  void WritePrefFile();
  // Comment lines at the top of a preference text into the header text (each kept to 255
  // characters); *lineNumber counts the lines passed.
  void ReadHeaderFile(std::FILE* file, SInt32* lineNumber);
  void ReadHeaderStream(std::istream& in, SInt32* lineNumber);

 private:
  // The first material, in set order, that matches.
  template <class Match>
  Boolean FindFirst(Match match, D3TMaterial** material, SInt32* id) const;
  void MarkChangedAndEnable();

  D3TMaterialPrefFile prefFile;
  SInt32 defaultSetResource = kDefaultSetResource;
  SInt32 currentMaterial = 0;
  std::string headerText;
  SInt32 texturesFolder = 0;
  UInt32 texturesFolderDate = 0;
  Boolean changed = true;
  D3TMaterialArray* materials = nullptr;
};

// The material list of the document whose view pane is current (published with
// gCurrentViewPane); new model objects take its current material. Null when there is none.
extern D3TMaterialList* gCurrentMaterials;
