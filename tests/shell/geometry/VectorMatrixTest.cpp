#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>

#include "GeometryTestSupport.h"
#include "Matrix4d.h"
#include "Vector3d.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Vector3d, ArithmeticOnOnePair) {
  const Vector3d a{1, 2, 3}, b{4, -5, 6};
  Vector3d out;
  EXPECT_DOUBLE_EQ(VectorLength(&a), std::sqrt(14.0));
  EXPECT_DOUBLE_EQ(VectorDistance(&a, &b), std::sqrt(9.0 + 49.0 + 9.0));
  EXPECT_DOUBLE_EQ(VectorDot(&a, &b), 4 - 10 + 18);
  VectorCross(&a, &b, &out);
  EXPECT_EQ(out, (Vector3d{27, 6, -13}));
  EXPECT_DOUBLE_EQ(Determinant3(&a, &b, &out), 27.0 * 27 + 6 * 6 + 13 * 13);
  VectorSubtract(&a, &b, &out);
  EXPECT_EQ(out, (Vector3d{-3, 7, -3}));
  VectorAdd(&a, &b, &out);
  EXPECT_EQ(out, (Vector3d{5, -3, 9}));
  VectorMultiply(&a, &b, &out);
  EXPECT_EQ(out, (Vector3d{4, -10, 18}));
  VectorScale(&a, -2, &out);
  EXPECT_EQ(out, (Vector3d{-2, -4, -6}));
  VectorCopy(&out, &b);
  EXPECT_EQ(out, b);
  VectorNegate(&out);
  EXPECT_EQ(out, (Vector3d{-4, 5, -6}));
  VectorSet(&out, 7, 8, 9);
  EXPECT_EQ(out, (Vector3d{7, 8, 9}));
}

TEST(Vector3d, DivideByZeroGivesZeroButATinyDivisorDivides) {
  const Vector3d v{1, -2, 3};
  Vector3d out{9, 9, 9};
  VectorDivide(&v, 0.0, &out);
  EXPECT_EQ(out, (Vector3d{0, 0, 0}));
  VectorDivide(&v, 1e-300, &out);
  EXPECT_DOUBLE_EQ(out.x, 1e300);
  EXPECT_DOUBLE_EQ(out.y, -2e300);
  VectorDivide(&v, 2.0, &out);
  EXPECT_EQ(out, (Vector3d{0.5, -1, 1.5}));
}

TEST(Vector3d, CrossIntoAnOperandIsStillTheCrossProduct) {
  Vector3d a{1, 0, 0};
  const Vector3d b{0, 1, 0};
  VectorCross(&a, &b, &a);
  EXPECT_EQ(a, (Vector3d{0, 0, 1}));
}

// ---- matrices

Matrix4d Identity() {
  Matrix4d m;
  SetIdentity4x4(&m);
  return m;
}

Matrix4d Product(const Matrix4d& a, const Matrix4d& b) {
  Matrix4d out;
  MatrixMultiply(&a, &b, MatrixShape{4, 4}, MatrixShape{4, 4}, &out);
  return out;
}

void ExpectMatrixNear(const Matrix4d& actual, const Matrix4d& expected, double tol) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual.m[i], expected.m[i], tol) << "element " << i;
}

TEST(Matrix4d, IdentityLeavesPointsUnchangedBothWays) {
  const Matrix4d m = Identity();
  const Vector3d p{1.5, -2.25, 1e6};
  Vector3d out;
  TransformPoint3x4(&m, &p, &out);
  EXPECT_EQ(out, p);
  TransformPoint4x4(&p, &m, &out);
  EXPECT_EQ(out, p);
}

TEST(Matrix4d, AxesAndScaleKeepTheOtherElements) {
  Matrix4d m = Identity();
  m.at(0, 3) = 10;
  m.at(1, 3) = 20;
  m.at(2, 3) = 30;
  const Vector3d ex{1, 0, 0}, ey{0, 1, 0}, ez{0, 0, 1};
  MatrixFromAxes(&m, &ex, &ey, &ez);
  Matrix4d expected = Identity();
  expected.at(0, 3) = 10;
  expected.at(1, 3) = 20;
  expected.at(2, 3) = 30;
  ExpectMatrixNear(m, expected, 0);

  Matrix4d s = Identity();
  SetScale4x4(&s, 2, 3, 4);
  const Vector3d one{1, 1, 1};
  Vector3d out;
  TransformPoint3x4(&s, &one, &out);
  EXPECT_EQ(out, (Vector3d{2, 3, 4}));
}

TEST(Matrix4d, TransformConventionsPutTheTranslationApart) {
  Matrix4d m = Identity();
  m.at(0, 3) = 1;   // column 3: read by the 3x4 transform
  m.at(3, 1) = 5;   // row 3: read by the 4x4 transform
  const Vector3d p{1, 2, 3};
  Vector3d out;
  TransformPoint3x4(&m, &p, &out);
  EXPECT_EQ(out, (Vector3d{2, 2, 3}));
  TransformPoint4x4(&p, &m, &out);
  EXPECT_EQ(out, (Vector3d{1, 7, 3}));
  TransformPoint4x4(&out, &m, &out);  // out may be the point itself
  EXPECT_EQ(out, (Vector3d{1, 12, 3}));
}

TEST(Matrix4d, MultiplyRefusesShapesThatDoNotFit) {
  const Matrix4d a = Identity();
  Matrix4d b;
  for (int i = 0; i < 16; ++i) b.m[i] = i;
  const struct {
    MatrixShape sa, sb;
  } cases[] = {
      {{4, 4}, {3, 4}},   // inner counts differ
      {{5, 4}, {4, 4}},   // more rows than a matrix holds
      {{4, 5}, {5, 4}},   // more columns than a matrix holds
      {{-1, 4}, {4, 4}},  // negative
  };
  for (const auto& c : cases) {
    Matrix4d out;
    for (int i = 0; i < 16; ++i) out.m[i] = -7;
    MatrixMultiply(&a, &b, c.sa, c.sb, &out);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(out.m[i], -7) << c.sa.rows << "x" << c.sa.cols << " by " << c.sb.rows;
  }
}

TEST(Matrix4d, MultiplyWritesOnlyTheResultShape) {
  Matrix4d row, column;
  for (int k = 0; k < 4; ++k) {
    row.at(0, k) = k + 1;       // 1 x 4
    column.at(k, 0) = 10 * k;   // 4 x 1
  }
  Matrix4d out;
  for (int i = 0; i < 16; ++i) out.m[i] = -7;
  MatrixMultiply(&row, &column, MatrixShape{1, 4}, MatrixShape{4, 1}, &out);
  EXPECT_EQ(out.at(0, 0), 1 * 0 + 2 * 10 + 3 * 20 + 4 * 30);
  for (int i = 1; i < 16; ++i) EXPECT_EQ(out.m[i], -7);
}

TEST(Matrix4d, MultiplyIntoAnOperandGivesTheProduct) {
  Matrix4d a, b;
  for (int i = 0; i < 16; ++i) {
    a.m[i] = i * 0.5 - 3;
    b.m[i] = 7 - i;
  }
  const Matrix4d expected = Product(a, b);
  Matrix4d left = a;
  MatrixMultiply(&left, &b, MatrixShape{}, MatrixShape{}, &left);
  ExpectMatrixNear(left, expected, 0);
  Matrix4d right = b;
  MatrixMultiply(&a, &right, MatrixShape{}, MatrixShape{}, &right);
  ExpectMatrixNear(right, expected, 0);
}

TEST(Matrix4d, FrameFromNormal) {
  const struct {
    Vector3d normal, unit, row0, row1;
  } cases[] = {
      {{0, 2, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}},
      {{0, 0, 1}, {0, 0, 1}, {1, 0, 0}, {0, -1, 0}},
      {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},     // no normal: a zero frame
      {{kNaN, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},  // nor for a non-finite one
  };
  for (const auto& c : cases) {
    Vector3d n = c.normal;
    Matrix4d m;
    MatrixFromNormal(&n, &m);
    ExpectNear(n, c.unit);
    ExpectNear({m.at(0, 0), m.at(0, 1), m.at(0, 2)}, c.row0);
    ExpectNear({m.at(1, 0), m.at(1, 1), m.at(1, 2)}, c.row1);
    ExpectNear({m.at(2, 0), m.at(2, 1), m.at(2, 2)}, c.unit);
    EXPECT_EQ(m.at(3, 3), 1.0);
    EXPECT_EQ(m.at(0, 3), 0.0);
  }
}

// ---- products and inverses against each other

Vector3d RandomUnit(std::mt19937& rng) {
  std::normal_distribution<double> g;
  for (;;) {
    Vector3d v{g(rng), g(rng), g(rng)};
    const double len = VectorLength(&v);
    if (len > 1e-3) return {v.x / len, v.y / len, v.z / len};
  }
}

// Rotation about a unit axis, for row vectors (p' = p R).
Matrix4d Rotation(const Vector3d& k, double angle) {
  const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  Matrix4d r = Identity();
  const double m[3][3] = {{t * k.x * k.x + c, t * k.x * k.y - s * k.z, t * k.x * k.z + s * k.y},
                          {t * k.x * k.y + s * k.z, t * k.y * k.y + c, t * k.y * k.z - s * k.x},
                          {t * k.x * k.z - s * k.y, t * k.y * k.z + s * k.x, t * k.z * k.z + c}};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r.at(j, i) = m[i][j];
  return r;
}

Matrix4d Translation(const Vector3d& t) {
  Matrix4d m = Identity();
  m.at(3, 0) = t.x;
  m.at(3, 1) = t.y;
  m.at(3, 2) = t.z;
  return m;
}

Matrix4d Scale(double sx, double sy, double sz) {
  Matrix4d m = Identity();
  SetScale4x4(&m, sx, sy, sz);
  return m;
}

// Inverse by Gauss-Jordan elimination with partial pivoting, independent of the library.
Matrix4d GaussJordanInverse(Matrix4d a) {
  Matrix4d inv = Identity();
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(a.at(r, col)) > std::fabs(a.at(pivot, col))) pivot = r;
    for (int c = 0; c < 4; ++c) {
      std::swap(a.at(col, c), a.at(pivot, c));
      std::swap(inv.at(col, c), inv.at(pivot, c));
    }
    const double d = a.at(col, col);
    for (int c = 0; c < 4; ++c) {
      a.at(col, c) /= d;
      inv.at(col, c) /= d;
    }
    for (int r = 0; r < 4; ++r) {
      if (r == col) continue;
      const double f = a.at(r, col);
      for (int c = 0; c < 4; ++c) {
        a.at(r, c) -= f * a.at(col, c);
        inv.at(r, c) -= f * inv.at(col, c);
      }
    }
  }
  return inv;
}

TEST(Matrix4d, ProductsAndInversesAgree) {
  std::mt19937 rng(20240605);
  std::uniform_real_distribution<double> angle(-std::numbers::pi, std::numbers::pi), offset(-500, 500), factor(0.2, 5);
  for (int trial = 0; trial < 500; ++trial) {
    const Vector3d axis = RandomUnit(rng);
    const double phi = angle(rng);
    const Vector3d t{offset(rng), offset(rng), offset(rng)};
    const double sx = factor(rng), sy = factor(rng), sz = factor(rng);

    // Row-vector affine map: scale, then rotate, then translate; its inverse in the other order.
    const Matrix4d r = Rotation(axis, phi);
    Matrix4d rT = r;
    TransposeMatrix4x4(&rT);
    const Matrix4d m = Product(Product(Scale(sx, sy, sz), r), Translation(t));
    const Matrix4d inverse =
        Product(Product(Translation({-t.x, -t.y, -t.z}), rT), Scale(1 / sx, 1 / sy, 1 / sz));

    ExpectMatrixNear(Product(m, inverse), Identity(), 1e-9);
    ExpectMatrixNear(Product(inverse, m), Identity(), 1e-9);
    ExpectMatrixNear(inverse, GaussJordanInverse(m), 1e-9);

    // Transforming by a product is transforming by each factor in turn, and back again.
    const Vector3d p{offset(rng), offset(rng), offset(rng)};
    Vector3d once, twice, back;
    TransformPoint4x4(&p, &m, &once);
    const Matrix4d scale = Scale(sx, sy, sz), move = Translation(t);
    TransformPoint4x4(&p, &scale, &twice);
    TransformPoint4x4(&twice, &r, &twice);
    TransformPoint4x4(&twice, &move, &twice);
    ExpectNear(once, twice, 1e-9);
    TransformPoint4x4(&once, &inverse, &back);
    ExpectNear(back, p, 1e-9);

    // The 3x4 convention is the transpose: the same map with the translation in column 3.
    Matrix4d mT = m;
    TransposeMatrix4x4(&mT);
    Vector3d viaColumns;
    TransformPoint3x4(&mT, &p, &viaColumns);
    ExpectNear(viaColumns, once, 1e-9);
  }
}

TEST(Matrix4d, FrameFromNormalIsARotationUndoneByItsTranspose) {
  std::mt19937 rng(7);
  for (int trial = 0; trial < 500; ++trial) {
    Vector3d n = RandomUnit(rng);
    const Vector3d given = n;
    Matrix4d m;
    MatrixFromNormal(&n, &m);
    ExpectNear(n, given, 1e-12);
    Matrix4d mT = m;
    TransposeMatrix4x4(&mT);
    ExpectMatrixNear(Product(m, mT), Identity(), 1e-9);
    Vector3d q;
    TransformPoint3x4(&m, &given, &q);  // the normal itself lands on the third axis
    ExpectNear(q, {0, 0, 1}, 1e-9);
  }
}

// Face planes take a point's frame coordinates one at a time from the axes; they must be the
// very doubles the frame's matrix gives, so that a face turns exactly as it did through it.
TEST(Matrix4d, FrameAxesGiveTheMatrixCoordinatesExactly) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> coordinate(-1000.0, 1000.0), scale(1e-6, 1e6);
  for (int trial = 0; trial < 2000; ++trial) {
    const Vector3d given = RandomUnit(rng);
    Vector3d fromMatrix{given.x * scale(rng), given.y, given.z}, fromAxes = fromMatrix;
    Matrix4d m;
    MatrixFromNormal(&fromMatrix, &m);
    Vector3d v, u;
    AxesFromNormal(&fromAxes, &v, &u);
    EXPECT_EQ(fromAxes, fromMatrix);
    const Vector3d p{coordinate(rng), coordinate(rng), trial % 7 == 0 ? -0.0 : coordinate(rng)};
    Vector3d q;
    TransformPoint3x4(&m, &p, &q);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(FrameCoordinate(v, p)), std::bit_cast<std::uint64_t>(q.x));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(FrameCoordinate(u, p)), std::bit_cast<std::uint64_t>(q.y));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(FrameCoordinate(fromAxes, p)), std::bit_cast<std::uint64_t>(q.z));
  }
}

}  // namespace
