// Circle (a shape from its parameter block) and the spline shape that shapes turn into when a
// modifier moves their points: a closed outline of points, flat in z.
#include "istdplug.h"
#include "scene/host_class_desc.h"
#include "scene/objects/param_object.h"
#include "scene/objects/primitive_meshes.h"
#include "scenefile/chunk_io.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace sim {
namespace {

constexpr float kPi = 3.14159265358979f;

class SplineShapeObject : public ShapeObject {
 public:
  static constexpr USHORT kPointsChunk = 0x0001;
  std::vector<Point3> points;

  void GetClassName(TSTR& s) override { s = "SplineShape"; }
  Class_ID ClassID() override { return splineShapeClassID; }
  const TCHAR* GetObjectName() override { return "Line"; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override {
    auto* c = new SplineShapeObject;
    c->points = points;
    BaseClone(this, c, remap);
    return c;
  }
  int CanConvertToType(Class_ID obtype) override {
    return obtype == splineShapeClassID || obtype == defObjectClassID || obtype == triObjectClassID;
  }
  Object* ConvertToType(TimeValue, Class_ID obtype) override {
    if (obtype == splineShapeClassID || obtype == defObjectClassID) return this;
    if (obtype != triObjectClassID) return nullptr;
    TriObject* tri = CreateNewTriObject();
    buildCappedOutlineMesh(tri->mesh, points);
    return tri;
  }
  // The outline's points, three floats each.
  IOResult Save(ISave* isave) override {
    std::vector<float> f;
    for (const Point3& p : points) f.insert(f.end(), {p.x, p.y, p.z});
    return io::writeArray(isave, kPointsChunk, f.data(), f.size());
  }
  IOResult Load(ILoad* iload) override {
    return io::forEachChunk(iload, [&](USHORT id) -> IOResult {
      std::vector<float> f;
      if (id != kPointsChunk) return IO_OK;
      if (io::readArray(iload, f) != IO_OK || f.size() % 3 != 0) return IO_ERROR;
      points.clear();
      for (size_t i = 0; i < f.size(); i += 3) points.emplace_back(f[i], f[i + 1], f[i + 2]);
      return IO_OK;
    });
  }
  BOOL IsDeformable() override { return TRUE; }
  int NumPoints() override { return static_cast<int>(points.size()); }
  Point3 GetPoint(int i) override { return i >= 0 && i < NumPoints() ? points[static_cast<size_t>(i)] : Point3(); }
  void SetPoint(int i, const Point3& p) override {
    if (i >= 0 && i < NumPoints()) points[static_cast<size_t>(i)] = p;
  }
};

HostClassDesc splineShapeDesc("SplineShape", SHAPE_CLASS_ID, splineShapeClassID, "Shapes",
                              [](BOOL) -> void* { return new SplineShapeObject; });

// ---- Circle -------------------------------------------------------------------------------------

enum { circle_radius, circle_steps };

// The outline a circle is drawn with: four arcs of `steps` interpolated points each, plus their knots.
std::vector<Point3> circleOutline(float radius, int steps) {
  const int n = 4 * (std::clamp(steps, 0, 100) + 1);
  std::vector<Point3> pts;
  for (int i = 0; i < n; ++i) {
    float a = 2.0f * kPi * float(i) / float(n);
    pts.emplace_back(radius * std::cos(a), radius * std::sin(a), 0.0f);
  }
  return pts;
}

void* newCircle(BOOL loading);
HostClassDesc circleDesc("Circle", SHAPE_CLASS_ID, Class_ID(CIRCLE_CLASS_ID, 0), "Splines", newCircle);
ParamBlockDesc2 circleParams(0, _T("CircleParameters"), 0, &circleDesc, P_AUTO_CONSTRUCT, 0,
    circle_radius, _T("radius"), TYPE_WORLD, P_ANIMATABLE, 0, p_default, 25.0, p_range, 0.0, 1e9, p_end,
    circle_steps, _T("steps"), TYPE_INT, 0, 0, p_default, 6, p_range, 0, 100, p_end,
    p_end);

class CircleObject : public PBlockObject<ShapeObject> {
 public:
  explicit CircleObject(BOOL loading) {
    if (!loading) circleDesc.MakeAutoParamBlocks(this);
  }
  void GetClassName(TSTR& s) override { s = "Circle"; }
  Class_ID ClassID() override { return Class_ID(CIRCLE_CLASS_ID, 0); }
  const TCHAR* GetObjectName() override { return "Circle"; }
  RefTargetHandle Clone(RemapDir& remap) override { return cloneWithBlock(new CircleObject(TRUE), remap); }

  int CanConvertToType(Class_ID obtype) override {
    return obtype == splineShapeClassID || obtype == defObjectClassID || obtype == triObjectClassID;
  }
  Object* ConvertToType(TimeValue t, Class_ID obtype) override {
    if (!CanConvertToType(obtype)) return nullptr;
    auto* shape = new SplineShapeObject;
    shape->points = circleOutline(getFloat(circle_radius, t), getInt(circle_steps, t));
    if (obtype != triObjectClassID) return shape;
    Object* tri = shape->ConvertToType(t, triObjectClassID);
    shape->DeleteThis();
    return tri;
  }
};
void* newCircle(BOOL loading) { return new CircleObject(loading); }

}  // namespace
}  // namespace sim
