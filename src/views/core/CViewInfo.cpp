#include "CViewInfo.h"

#include <new>

CViewInfo::CViewInfo(const CViewInfo& other)
    : CCollaborator(),
      lookPoint(other.lookPoint),
      centre(other.centre),
      upVector(other.upVector),
      viewValues(other.viewValues),
      direction(other.direction),
      viewType(other.viewType),
      menuNumber(other.menuNumber),
      stepIndex(other.stepIndex),
      zoom(other.zoom),
      name(other.name),
      scriptView(other.scriptView),
      interpolated(other.interpolated),
      markedForRemoval(other.markedForRemoval),
      announced(other.announced),
      current(other.current),
      viewNumber(other.viewNumber) {}

CViewInfo* CViewInfo::Clone() const { return new (std::nothrow) CViewInfo(*this); }

void CViewInfo::Set(const Vector3d* look, const Vector3d* reference, const Vector3d* up,
                    const Vector3d* projectionReference, const Vector3d* normal, SInt16 kind, double halfSize) {
  lookPoint = *look;
  centre = *reference;
  upVector = *up;
  viewValues = *projectionReference;
  direction = *normal;
  viewType = kind;
  zoom = halfSize;
  menuNumber = -1;
  scriptView = 1;
  interpolated = 0;
  markedForRemoval = 0;
  current = 0;
}

void CViewInfo::Get(Vector3d* look, Vector3d* reference, Vector3d* up, Vector3d* projectionReference, Vector3d* normal,
                    SInt16* kind, double* halfSize) const {
  *look = lookPoint;
  *reference = centre;
  *up = upVector;
  *projectionReference = viewValues;
  *normal = direction;
  *kind = viewType;
  *halfSize = zoom;
}

void CViewInfo::GetName(StringPtr out) const {
  for (int i = 0; i <= name.Length(); ++i) out[i] = name.s[i];
}
