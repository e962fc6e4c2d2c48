#include "CRayTracer.h"

void CRayTracer::IRayTracer(const Rect* rect, VLDocument* doc) {
  if (rect) paneRect = *rect;
  document = doc;
}
