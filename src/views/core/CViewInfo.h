// One remembered view: the camera of a view transform (look point, reference point, up vector,
// projection reference values and view-plane normal), its view kind and its window half size.
// The view transform keeps one per view kind; the document keeps its saved views as these.
//
// This is the record's camera part. Its text and binary records in the native document, the
// interpolation of walkthrough views and the editor's flags are not built yet; the fields they
// will use are here so that copies carry them.
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"
#include "PString.h"
#include "Vector3d.h"

class CViewInfo : public CCollaborator {
  VL_REGISTERED_CLASS(CViewInfo, CCollaborator)

 public:
  // An empty view: kind 0, menu number 0, zoom 0, every flag clear; the vectors are zero and
  // the name empty.
  CViewInfo() = default;
  // Copies every field; the copy has no dependents or providers.
  CViewInfo(const CViewInfo& other);

  // A copy of this view (null when memory runs out).
  CViewInfo* Clone() const override;

  // Stores the camera, the kind and the half size; the menu number becomes -1, the script flag
  // 1, and the interpolated, marked-for-removal and current flags are cleared.
  void Set(const Vector3d* look, const Vector3d* reference, const Vector3d* up, const Vector3d* projectionReference,
           const Vector3d* normal, SInt16 kind, double halfSize);
  // Hands out what Set stored.
  void Get(Vector3d* look, Vector3d* reference, Vector3d* up, Vector3d* projectionReference, Vector3d* normal,
           SInt16* kind, double* halfSize) const;

  double GetZoom() const { return zoom; }
  SInt16 GetViewType() const { return viewType; }
  void SetViewType(SInt16 kind) { viewType = kind; }
  SInt16 GetViewNumber() const { return viewNumber; }
  void SetViewNumber(SInt16 number) { viewNumber = number; }
  void GetName(StringPtr out) const;
  void SetName(ConstStringPtr text) { name = Str255(text); }

  // ---- Fields ----

  Vector3d lookPoint;
  Vector3d centre;  // the view reference point; the eye is centre + direction * viewValues.z
  Vector3d upVector;
  Vector3d viewValues;  // the projection reference point (u, v, eye distance)
  Vector3d direction;   // unit, from the look point toward the eye
  SInt16 viewType = 0;
  SInt16 menuNumber = 0;  // position in the document's view list; -1 when not in it
  SInt16 stepIndex = 0;
  double zoom = 0.0;  // half extent of the window's shorter side
  Str255 name;
  UInt8 scriptView = 0;
  UInt8 interpolated = 0;
  UInt8 markedForRemoval = 0;
  UInt8 announced = 0;
  UInt8 current = 0;
  SInt16 viewNumber = 0;
};
