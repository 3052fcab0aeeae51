#include "matrix3.h"
#include "quat.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float kHalfPi = 1.57079632679f;

void expectNear(const Point3& a, const Point3& b) {
  EXPECT_NEAR(a.x, b.x, 1e-5f);
  EXPECT_NEAR(a.y, b.y, 1e-5f);
  EXPECT_NEAR(a.z, b.z, 1e-5f);
}

TEST(Transforms, PointsAreRowVectorsSoTheLeftMatrixAppliesFirst) {
  Matrix3 rotate = RotateZMatrix(kHalfPi);
  Matrix3 move = TransMatrix(Point3(10, 0, 0));
  expectNear(Point3(1, 0, 0) * rotate, Point3(0, 1, 0));
  expectNear(Point3(1, 0, 0) * (rotate * move), Point3(10, 1, 0));
  expectNear(Point3(1, 0, 0) * (move * rotate), Point3(0, 11, 0));
}

TEST(Transforms, InverseUndoesAnAffineTransformAndASingularOneGivesIdentity) {
  Matrix3 m = RotateXMatrix(0.3f) * ScaleMatrix(Point3(2, 3, 4)) * TransMatrix(Point3(5, -6, 7));
  Point3 p(1.5f, -2.0f, 0.25f);
  expectNear((p * m) * m.Inverse(), p);
  EXPECT_TRUE(ScaleMatrix(Point3(0, 1, 1)).Inverse().IsIdentity());
}

TEST(Transforms, QuaternionsFollowTheHostsHandednessAndRoundTripThroughMatrices) {
  Quat q(RotateZMatrix(kHalfPi));
  EXPECT_NEAR(q.z, -0.7071068f, 1e-5f);
  EXPECT_NEAR(q.w, 0.7071068f, 1e-5f);
  Matrix3 back;
  q.MakeMatrix(back);
  expectNear(Point3(1, 0, 0) * back, Point3(0, 1, 0));

  Quat a(RotateXMatrix(0.4f)), b(RotateYMatrix(-1.1f));
  Matrix3 ab;
  (a * b).MakeMatrix(ab);
  Point3 p(0.3f, 0.7f, -0.2f);
  expectNear(p * ab, p * (RotateXMatrix(0.4f) * RotateYMatrix(-1.1f)));
}

}  // namespace
