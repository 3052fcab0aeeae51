#include "quat.h"

#include <algorithm>
#include <cmath>

Quat::Quat(const Matrix3& m) {
  // Rows of the host's matrix are the columns of the textbook rotation of this quaternion.
  float r[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[i][j] = m[i][j];
  float trace = r[0][0] + r[1][1] + r[2][2];
  if (trace > 0.0f) {
    float s = std::sqrt(trace + 1.0f) * 2.0f;
    w = 0.25f * s;
    x = (r[2][1] - r[1][2]) / s;
    y = (r[0][2] - r[2][0]) / s;
    z = (r[1][0] - r[0][1]) / s;
  } else if (r[0][0] > r[1][1] && r[0][0] > r[2][2]) {
    float s = std::sqrt(1.0f + r[0][0] - r[1][1] - r[2][2]) * 2.0f;
    w = (r[2][1] - r[1][2]) / s;
    x = 0.25f * s;
    y = (r[0][1] + r[1][0]) / s;
    z = (r[0][2] + r[2][0]) / s;
  } else if (r[1][1] > r[2][2]) {
    float s = std::sqrt(1.0f + r[1][1] - r[0][0] - r[2][2]) * 2.0f;
    w = (r[0][2] - r[2][0]) / s;
    x = (r[0][1] + r[1][0]) / s;
    y = 0.25f * s;
    z = (r[1][2] + r[2][1]) / s;
  } else {
    float s = std::sqrt(1.0f + r[2][2] - r[0][0] - r[1][1]) * 2.0f;
    w = (r[1][0] - r[0][1]) / s;
    x = (r[0][2] + r[2][0]) / s;
    y = (r[1][2] + r[2][1]) / s;
    z = 0.25f * s;
  }
  Normalize();
}

Quat Quat::Inverse() const {
  float n = x * x + y * y + z * z + w * w;
  if (n == 0.0f) return Quat();
  return Quat(-x / n, -y / n, -z / n, w / n);
}

void Quat::Normalize() {
  float n = std::sqrt(x * x + y * y + z * z + w * w);
  if (n == 0.0f) { Identity(); return; }
  x /= n; y /= n; z /= n; w /= n;
}

Quat Quat::operator*(const Quat& q) const {
  return Quat(w * q.x + x * q.w + y * q.z - z * q.y,
              w * q.y - x * q.z + y * q.w + z * q.x,
              w * q.z + x * q.y - y * q.x + z * q.w,
              w * q.w - x * q.x - y * q.y - z * q.z);
}

void Quat::MakeMatrix(Matrix3& m) const {
  m = Matrix3(Point3(1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)),
              Point3(2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)),
              Point3(2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)),
              Point3());
}

Quat Slerp(const Quat& a, const Quat& b, float u) {
  float cosom = a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
  Quat end = b;
  if (cosom < 0.0f) {  // the shorter way round
    cosom = -cosom;
    end = Quat(-b.x, -b.y, -b.z, -b.w);
  }
  float k0 = 1.0f - u, k1 = u;
  if (cosom < 0.9999f) {
    float omega = std::acos(std::clamp(cosom, -1.0f, 1.0f));
    float sinom = std::sin(omega);
    k0 = std::sin((1.0f - u) * omega) / sinom;
    k1 = std::sin(u * omega) / sinom;
  }
  Quat r(a.x * k0 + end.x * k1, a.y * k0 + end.y * k1, a.z * k0 + end.z * k1, a.w * k0 + end.w * k1);
  r.Normalize();
  return r;
}

Quat QFromAngAxis(float angle, const Point3& axis) {
  Point3 n = axis.Normalize();
  float s = std::sin(angle * 0.5f);
  return Quat(n.x * s, n.y * s, n.z * s, std::cos(angle * 0.5f));
}
