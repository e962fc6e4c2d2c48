// The selection and the object info palette as the model objects see them.
//
// The active document publishes its selection list; the objects put themselves into it and take
// themselves out of it (VLUser3DObject::Select and Deselect). While exactly one object is
// selected and the palette is open, that object and the palette are each other's provider, so
// that each hears the other's notices (ObjectInfoRecord.h).
#pragma once

#include "CCollaborator.h"
#include "VLArray.h"

// The active document's selected objects in the order they were selected; null while no
// document is active. The document owns the list.
extern VLArray* gCurrentSelection;

// What the model objects need of the object info palette. The palette implements it; the
// objects never see more of it.
class ObjectInfoPalette {
 public:
  // The palette's side of the provider links with the object it shows.
  virtual CCollaborator* PaletteCollaborator() = 0;
  // Several objects are selected: the palette lets go of the object it showed and says so.
  virtual void ShowMultipleSelection() = 0;

 protected:
  ~ObjectInfoPalette() = default;
};

// The open object info palette; null while it is closed. The palette sets and clears it.
extern ObjectInfoPalette* gObjectInfoBox;
