// The pane's ray tracer as far as the view needs it today: the sky and ground colours and the
// switches the horizon line reads, and the sun's direction. Making sun images and studies comes
// with the sun; until then this keeps every value the pane and the document hand it.
#pragma once

#include "CCollaborator.h"
#include "MacTypes.h"
#include "Vector3d.h"

class VLDocument;

class CRayTracer : public CCollaborator {
  VL_REGISTERED_CLASS(CRayTracer, CCollaborator)

 public:
  CRayTracer() = default;
  // Keeps the pane's rectangle and the document; the colours and switches take their defaults:
  // ground shown in a green-grey, sky shown in a light blue, the sun from the south-east at 45
  // degrees.
  void IRayTracer(const Rect* paneRect, VLDocument* document);

  Rect paneRect;
  VLDocument* document = nullptr;
  RGBColor groundColor{39321, 45875, 36044};
  RGBColor skyColor{52428, 58982, 65535};
  UInt8 showGround = 1;
  UInt8 showSky = 1;
  Vector3d sunDirection{0.5, 0.5, 0.70710678118654752};
};
