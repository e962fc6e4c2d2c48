// Math on the library's points, vectors, matrices, boxes and colours. Points are
// row vectors (p' = p x M). Each call answers its result pointer.
#pragma once

#include "Q3Types.h"

TQ3Point2D* Q3Point2D_Set(TQ3Point2D* point2D, float x, float y);
TQ3Point3D* Q3Point3D_Set(TQ3Point3D* point3D, float x, float y, float z);
TQ3Vector2D* Q3Vector2D_Set(TQ3Vector2D* vector2D, float x, float y);
TQ3Vector3D* Q3Vector3D_Set(TQ3Vector3D* vector3D, float x, float y, float z);
TQ3ColorRGB* Q3ColorRGB_Set(TQ3ColorRGB* color, float r, float g, float b);

float Q3Point3D_Distance(const TQ3Point3D* p1, const TQ3Point3D* p2);
TQ3Vector3D* Q3Point3D_Subtract(const TQ3Point3D* p1, const TQ3Point3D* p2, TQ3Vector3D* result);
TQ3Point3D* Q3Point3D_Vector3D_Add(const TQ3Point3D* point3D, const TQ3Vector3D* vector3D, TQ3Point3D* result);
TQ3Point2D* Q3Point2D_Vector2D_Add(const TQ3Point2D* point2D, const TQ3Vector2D* vector2D, TQ3Point2D* result);
TQ3Vector2D* Q3Point2D_Subtract(const TQ3Point2D* p1, const TQ3Point2D* p2, TQ3Vector2D* result);

TQ3Vector3D* Q3Vector3D_Add(const TQ3Vector3D* v1, const TQ3Vector3D* v2, TQ3Vector3D* result);
TQ3Vector3D* Q3Vector3D_Subtract(const TQ3Vector3D* v1, const TQ3Vector3D* v2, TQ3Vector3D* result);
TQ3Vector3D* Q3Vector3D_Scale(const TQ3Vector3D* vector3D, float scalar, TQ3Vector3D* result);
TQ3Vector3D* Q3Vector3D_Negate(const TQ3Vector3D* vector3D, TQ3Vector3D* result);
float Q3Vector3D_Length(const TQ3Vector3D* vector3D);
float Q3Vector3D_Dot(const TQ3Vector3D* v1, const TQ3Vector3D* v2);
TQ3Vector3D* Q3Vector3D_Cross(const TQ3Vector3D* v1, const TQ3Vector3D* v2, TQ3Vector3D* result);
// A zero vector stays zero.
TQ3Vector3D* Q3Vector3D_Normalize(const TQ3Vector3D* vector3D, TQ3Vector3D* result);
float Q3Vector2D_Length(const TQ3Vector2D* vector2D);

TQ3Point2D* Q3Point2D_Transform(const TQ3Point2D* point2D, const TQ3Matrix3x3* matrix3x3, TQ3Point2D* result);
TQ3Point3D* Q3Point3D_Transform(const TQ3Point3D* point3D, const TQ3Matrix4x4* matrix4x4, TQ3Point3D* result);
TQ3Vector3D* Q3Vector3D_Transform(const TQ3Vector3D* vector3D, const TQ3Matrix4x4* matrix4x4, TQ3Vector3D* result);
TQ3Status Q3Point3D_To3DTransformArray(const TQ3Point3D* inPoints3D, const TQ3Matrix4x4* matrix,
                                       TQ3Point3D* outPoints3D, TQ3Uns32 numPoints, TQ3Uns32 inStructSize,
                                       TQ3Uns32 outStructSize);

TQ3Point3D* Q3SphericalPoint_ToPoint3D(const TQ3SphericalPoint* sphericalPoint, TQ3Point3D* result);
TQ3SphericalPoint* Q3Point3D_ToSpherical(const TQ3Point3D* point3D, TQ3SphericalPoint* result);

TQ3Matrix3x3* Q3Matrix3x3_SetIdentity(TQ3Matrix3x3* matrix3x3);
TQ3Matrix3x3* Q3Matrix3x3_SetScale(TQ3Matrix3x3* matrix3x3, float xScale, float yScale);
TQ3Matrix3x3* Q3Matrix3x3_SetTranslate(TQ3Matrix3x3* matrix3x3, float xTrans, float yTrans);
TQ3Matrix3x3* Q3Matrix3x3_Multiply(const TQ3Matrix3x3* m1, const TQ3Matrix3x3* m2, TQ3Matrix3x3* result);
// A singular matrix posts a warning and leaves result unchanged.
TQ3Matrix3x3* Q3Matrix3x3_Invert(const TQ3Matrix3x3* matrix3x3, TQ3Matrix3x3* result);

TQ3Matrix4x4* Q3Matrix4x4_SetIdentity(TQ3Matrix4x4* matrix4x4);
TQ3Matrix4x4* Q3Matrix4x4_SetScale(TQ3Matrix4x4* matrix4x4, float xScale, float yScale, float zScale);
TQ3Matrix4x4* Q3Matrix4x4_SetTranslate(TQ3Matrix4x4* matrix4x4, float xTrans, float yTrans, float zTrans);
TQ3Matrix4x4* Q3Matrix4x4_SetRotate_X(TQ3Matrix4x4* matrix4x4, float angle);
TQ3Matrix4x4* Q3Matrix4x4_SetRotate_Y(TQ3Matrix4x4* matrix4x4, float angle);
TQ3Matrix4x4* Q3Matrix4x4_SetRotate_Z(TQ3Matrix4x4* matrix4x4, float angle);
// Rotation about x, then y, then z.
TQ3Matrix4x4* Q3Matrix4x4_SetRotate_XYZ(TQ3Matrix4x4* matrix4x4, float xAngle, float yAngle, float zAngle);
// Rotation about the axis through origin; the axis need not be of unit length.
TQ3Matrix4x4* Q3Matrix4x4_SetRotateAboutAxis(TQ3Matrix4x4* matrix4x4, const TQ3Point3D* origin,
                                             const TQ3Vector3D* orientation, float angle);
TQ3Matrix4x4* Q3Matrix4x4_Multiply(const TQ3Matrix4x4* m1, const TQ3Matrix4x4* m2, TQ3Matrix4x4* result);
// A singular matrix posts a warning and leaves result unchanged.
TQ3Matrix4x4* Q3Matrix4x4_Invert(const TQ3Matrix4x4* matrix4x4, TQ3Matrix4x4* result);
TQ3Matrix4x4* Q3Matrix4x4_Transpose(const TQ3Matrix4x4* matrix4x4, TQ3Matrix4x4* result);
float Q3Matrix4x4_Determinant(const TQ3Matrix4x4* matrix4x4);

TQ3BoundingBox* Q3BoundingBox_Set(TQ3BoundingBox* bBox, const TQ3Point3D* min, const TQ3Point3D* max,
                                  TQ3Boolean isEmpty);
TQ3BoundingBox* Q3BoundingBox_SetFromPoints3D(TQ3BoundingBox* bBox, const TQ3Point3D* points3D, TQ3Uns32 numPoints,
                                              TQ3Uns32 structSize);
TQ3BoundingBox* Q3BoundingBox_UnionPoint3D(const TQ3BoundingBox* bBox, const TQ3Point3D* point3D,
                                           TQ3BoundingBox* result);
TQ3BoundingBox* Q3BoundingBox_Union(const TQ3BoundingBox* b1, const TQ3BoundingBox* b2, TQ3BoundingBox* result);

TQ3ColorRGB* Q3ColorRGB_Add(const TQ3ColorRGB* c1, const TQ3ColorRGB* c2, TQ3ColorRGB* result);
TQ3ColorRGB* Q3ColorRGB_Scale(const TQ3ColorRGB* color, float scale, TQ3ColorRGB* result);
TQ3ColorRGB* Q3ColorRGB_Clamp(const TQ3ColorRGB* color, TQ3ColorRGB* result);
// result += src
TQ3ColorRGB* Q3ColorRGB_Accumulate(const TQ3ColorRGB* src, TQ3ColorRGB* result);
