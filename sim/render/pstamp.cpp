#include "render/pstamp.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace sim {

namespace {

constexpr float kPi = 3.14159265358979f;
// The sphere fills the stamp but for a thin border; the background is black.
constexpr float kRadius = 0.95f;
const Point3 kSphereCentre(0.0f, 0.0f, -4.0f);

// The stamp's light: white, from the upper left, in front of the sphere.
class StampLight : public LightDesc {
 public:
  BOOL Illuminate(ShadeContext& sc, Point3& normal, Color& color, Point3& dir, float& dot_nl, float& diffuseCoef) override {
    dir = Point3(-1.0f, 1.0f, 1.0f).Normalize();
    color = Color(1.0f, 1.0f, 1.0f);
    dot_nl = DotProd(normal, dir);
    diffuseCoef = dot_nl;
    return dot_nl > 0.0f;
  }
  Point3 LightPosition() override { return kSphereCentre + Point3(-1.0f, 1.0f, 1.0f) * 100.0f; }
};

// One point of the sphere, seen by an orthographic camera looking down -z.
class SphereShadeContext : public ShadeContext {
 public:
  SphereShadeContext(TimeValue t, LightDesc* light) : t_(t), light_(light) {
    mode = 0;
    nLights = 1;
    ambientLight = Color(0.1f, 0.1f, 0.1f);
    doMaskTest = FALSE;
  }
  void setPoint(const Point3& normal, const Point3& uvw) {
    normal_ = normal;
    uvw_ = uvw;
    ResetOutput();
  }
  BOOL InMtlEditor() override { return TRUE; }
  LightDesc* Light(int n) override { return n == 0 ? light_ : nullptr; }
  TimeValue CurTime() override { return t_; }
  Point3 P() override { return kSphereCentre + normal_ * kRadius; }
  Point3 Normal() override { return normal_; }
  Point3 V() override { return Point3(0.0f, 0.0f, -1.0f); }
  Point3 UVW(int) override { return uvw_; }

 private:
  TimeValue t_;
  LightDesc* light_;
  Point3 normal_;
  Point3 uvw_;
};

UBYTE toByte(float v) { return static_cast<UBYTE>(std::clamp(v, 0.0f, 1.0f) * 255.0f + 0.5f); }

void putPixel(std::vector<UBYTE>& img, int rowBytes, int x, int row, const Color& c) {
  UBYTE* p = img.data() + static_cast<size_t>(row) * rowBytes + static_cast<size_t>(x) * 3;
  p[0] = toByte(c.b);
  p[1] = toByte(c.g);
  p[2] = toByte(c.r);
}

}  // namespace

ImagePStamp::ImagePStamp(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      bytes_(static_cast<size_t>(ByteWidth(width_)) * static_cast<size_t>(height_), 0) {}

void ImagePStamp::SetImage(UBYTE* img) {
  if (img && !bytes_.empty()) std::memcpy(bytes_.data(), img, bytes_.size());
}

void ImagePStamp::GetImage(UBYTE* img) {
  if (img && !bytes_.empty()) std::memcpy(img, bytes_.data(), bytes_.size());
}

ImagePStamp* renderPStamp(MtlBase* mtl, int size, TimeValue t) {
  auto* stamp = new ImagePStamp(size, size);
  if (!mtl || size <= 0) return stamp;
  std::vector<UBYTE>& img = stamp->bytes();
  const int rowBytes = ByteWidth(size);
  auto* surface = dynamic_cast<Mtl*>(mtl);
  auto* map = dynamic_cast<Texmap*>(mtl);
  Interval valid = FOREVER;
  mtl->Update(t, valid);
  StampLight light;
  SphereShadeContext sc(t, &light);
  // Row 0 of the image is the bottom of the picture.
  for (int row = 0; row < size; ++row) {
    float y = (float(row) + 0.5f) / float(size) * 2.0f - 1.0f;
    for (int x = 0; x < size; ++x) {
      float px = (float(x) + 0.5f) / float(size) * 2.0f - 1.0f;
      if (map) {
        sc.setPoint(Point3(0.0f, 0.0f, 1.0f), Point3((px + 1.0f) * 0.5f, (y + 1.0f) * 0.5f, 0.0f));
        putPixel(img, rowBytes, x, row, Color(map->EvalColor(sc)));
        continue;
      }
      float d2 = px * px + y * y;
      if (d2 > kRadius * kRadius || !surface) continue;  // background stays black
      Point3 n(px / kRadius, y / kRadius, std::sqrt(std::max(0.0f, 1.0f - d2 / (kRadius * kRadius))));
      float u = std::atan2(n.y, n.x) / (2.0f * kPi) + 0.5f;
      float v = std::acos(std::clamp(n.z, -1.0f, 1.0f)) / kPi;
      sc.setPoint(n, Point3(u, v, 0.0f));
      surface->Shade(sc);
      Color c = sc.out.c;
      Color tr = sc.out.t;
      putPixel(img, rowBytes, x, row, Color(c.r * (1.0f - tr.r), c.g * (1.0f - tr.g), c.b * (1.0f - tr.b)));
    }
  }
  return stamp;
}

}  // namespace sim
