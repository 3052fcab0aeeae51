#include "scene/controllers/noise_controllers.h"

#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "scene/change_restore.h"
#include "scene/controllers/controllers.h"
#include "scene/host_class_desc.h"
#include "scene/scene_values.h"
#include "scenefile/chunk_io.h"
#include "script/property_table.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace sim {

namespace {

struct NoiseClass {
  const char* name;
  SClass_ID sclass;
  ULONG classA;
};
const NoiseClass kNoiseClasses[] = {
    {"noise_float", CTRL_FLOAT_CLASS_ID, 0x87a6df24},
    {"noise_position", CTRL_POSITION_CLASS_ID, 0x87a6df25},
    {"noise_rotation", CTRL_ROTATION_CLASS_ID, 0x87a6df27},
    {"noise_scale", CTRL_SCALE_CLASS_ID, 0x87a6df28},
};
const NoiseClass& classOf(NoiseControl::Kind k) { return kNoiseClasses[static_cast<int>(k)]; }

// A fixed integer hash, so a seed gives the same noise everywhere.
float latticeGradient(int seed, int axis, std::int64_t i) {
  std::uint32_t h = std::uint32_t(seed) * 0x9E3779B1u ^ std::uint32_t(axis + 1) * 0x85EBCA77u ^
                    std::uint32_t(i) * 0xC2B2AE3Du ^ std::uint32_t(i >> 32) * 0x27D4EB2Fu;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return float(double(h) / 4294967295.0 * 2.0 - 1.0);
}

// One octave of gradient noise, from about -0.5 to 0.5.
float gradientNoise(int seed, int axis, double x) {
  double cell = std::floor(x);
  auto i = static_cast<std::int64_t>(cell);
  float f = float(x - cell);
  float a = latticeGradient(seed, axis, i) * f;
  float b = latticeGradient(seed, axis, i + 1) * (f - 1.0f);
  float s = f * f * f * (f * (f * 6.0f - 15.0f) + 10.0f);
  return a + (b - a) * s;
}

float octaves(const NoiseParams& p, int axis, double x) {
  if (!p.fractal) return gradientNoise(p.seed, axis, x);
  // Rougher noise keeps more of its finer octaves.
  const float keep = 0.3f + 0.6f * std::clamp(p.roughness, 0.0f, 1.0f);
  float sum = 0, weight = 0, amp = 1;
  for (int k = 0; k < 6; ++k, amp *= keep, x *= 2.0) {
    sum += amp * gradientNoise(p.seed, axis, x);
    weight += amp;
  }
  return sum / weight;
}

float ease(float u) {
  u = std::clamp(u, 0.0f, 1.0f);
  return u * u * (3.0f - 2.0f * u);
}

}  // namespace

void NoiseControl::GetClassName(TSTR& s) { s = classOf(kind_).name; }
Class_ID NoiseControl::ClassID() { return Class_ID(classOf(kind_).classA, 0); }
SClass_ID NoiseControl::SuperClassID() { return classOf(kind_).sclass; }

RefTargetHandle NoiseControl::Clone(RemapDir& remap) {
  auto* c = new NoiseControl(kind_);
  c->params_ = params_;
  BaseClone(this, c, remap);
  return c;
}

void NoiseControl::setParams(const NoiseParams& p) {
  if (p == params_) return;
  recordChange(this, params_, p, [this](const NoiseParams& v) {
    params_ = v;
    NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
  }, "Noise");
  params_ = p;
  NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE);
}

Point3 NoiseControl::unitNoise(TimeValue t) const {
  // Offset from the lattice, where gradient noise is always zero.
  const double x = double(t) / GetTicksPerFrame() * params_.frequency * 0.1 + 0.37;
  float ramp = 1.0f;
  if (params_.rampIn > 0 || params_.rampOut > 0) {
    Interval range = GetCOREInterface()->GetAnimRange();
    if (params_.rampIn > 0) ramp *= ease(float(double(t - range.Start()) / params_.rampIn));
    if (params_.rampOut > 0) ramp *= ease(float(double(range.End() - t) / params_.rampOut));
  }
  const bool positive[3] = {params_.xPositive, params_.yPositive, params_.zPositive};
  Point3 n;
  for (int axis = 0; axis < 3; ++axis) {
    float v = std::clamp(octaves(params_, axis, x), -0.5f, 0.5f);
    n[axis] = (positive[axis] ? v + 0.5f : v) * ramp;
  }
  return n;
}

void NoiseControl::GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) {
  if (!val) return;
  valid &= Interval(t, t);
  const Point3 v = unitNoise(t) * params_.strength;
  const bool relative = method == CTRL_RELATIVE;
  switch (kind_) {
    case Kind::Float: {
      float* out = static_cast<float*>(val);
      *out = relative ? *out + v.x : v.x;
      break;
    }
    case Kind::Position:
      if (relative) static_cast<Matrix3*>(val)->PreTranslate(v);
      else *static_cast<Point3*>(val) = v;
      break;
    case Kind::Rotation: {
      Quat q = eulerToQuat(v * float(std::numbers::pi / 180.0));
      if (relative) {
        Matrix3 r;
        q.MakeMatrix(r);
        Matrix3& m = *static_cast<Matrix3*>(val);
        m = r * m;
      } else {
        *static_cast<Quat*>(val) = q;
      }
      break;
    }
    case Kind::Scale: {
      Point3 s = Point3(1.0f, 1.0f, 1.0f) + v * 0.01f;
      if (relative) static_cast<Matrix3*>(val)->PreScale(s);
      else *static_cast<ScaleValue*>(val) = ScaleValue(s);
      break;
    }
  }
}

namespace {

enum : USHORT { kNoiseParams = 0x0020 };

// The parameters as the file stores them, independent of NoiseParams' layout.
struct StoredNoise {
  std::int32_t seed;
  float frequency;
  std::int32_t fractal;
  float roughness;
  std::int32_t rampIn, rampOut;
  float strength[3];
  std::int32_t positive[3];
};

}  // namespace

IOResult NoiseControl::Save(ISave* isave) {
  const NoiseParams& p = params_;
  StoredNoise s{p.seed, p.frequency, p.fractal, p.roughness, p.rampIn, p.rampOut,
                {p.strength.x, p.strength.y, p.strength.z}, {p.xPositive, p.yPositive, p.zPositive}};
  return io::writeChunk(isave, kNoiseParams, s);
}

IOResult NoiseControl::Load(ILoad* iload) {
  return io::forEachChunk(iload, [&](USHORT id) -> IOResult {
    if (id != kNoiseParams) return IO_OK;
    StoredNoise s;
    if (io::read(iload, s) != IO_OK) return IO_ERROR;
    for (float f : {s.frequency, s.roughness, s.strength[0], s.strength[1], s.strength[2]})
      if (!std::isfinite(f)) return IO_ERROR;
    if (s.rampIn < 0 || s.rampOut < 0) return IO_ERROR;
    NoiseParams p;
    p.seed = s.seed;
    p.frequency = s.frequency;
    p.fractal = s.fractal != 0;
    p.roughness = s.roughness;
    p.rampIn = s.rampIn;
    p.rampOut = s.rampOut;
    p.strength = Point3(s.strength[0], s.strength[1], s.strength[2]);
    p.xPositive = s.positive[0] != 0;
    p.yPositive = s.positive[1] != 0;
    p.zPositive = s.positive[2] != 0;
    params_ = p;
    return IO_OK;
  });
}

// ---- descriptors and script properties ------------------------------------------------------------

namespace {

template <NoiseControl::Kind K>
void* makeNoise(BOOL) { return new NoiseControl(K); }

#define NOISE_DESC(var, kind)                                                                                      \
  HostClassDesc var(classOf(kind).name, classOf(kind).sclass, Class_ID(classOf(kind).classA, 0), "Controllers", \
                    makeNoise<kind>)
NOISE_DESC(noiseFloatDesc, NoiseControl::Kind::Float);
NOISE_DESC(noisePositionDesc, NoiseControl::Kind::Position);
NOISE_DESC(noiseRotationDesc, NoiseControl::Kind::Rotation);
NOISE_DESC(noiseScaleDesc, NoiseControl::Kind::Scale);
#undef NOISE_DESC

NoiseControl* noise(ReferenceTarget* t) { return dynamic_cast<NoiseControl*>(t); }
bool isNoise(ReferenceTarget* t) { return noise(t) != nullptr; }
bool isFloatNoise(ReferenceTarget* t) { return isNoise(t) && noise(t)->kind() == NoiseControl::Kind::Float; }
bool isAxisNoise(ReferenceTarget* t) { return isNoise(t) && noise(t)->kind() != NoiseControl::Kind::Float; }

template <class F>
void edit(ReferenceTarget* t, F&& f) {
  NoiseParams p = noise(t)->params();
  f(p);
  noise(t)->setParams(p);
}
const NoiseParams& params(ReferenceTarget* t) { return noise(t)->params(); }

float nonNegative(Value* v) {
  float f = v->to_float();
  if (!(f >= 0.0f)) throw RuntimeError("Expected a value of 0 or more, got: ", v);
  return f;
}

TimeValue rampTime(Value* v) {
  TimeValue t = v->to_timevalue();
  if (t < 0) throw RuntimeError("Expected a time of 0 or more, got: ", v);
  return t;
}

template <bool NoiseParams::*M>
Value* getFlag(ReferenceTarget* t, TimeValue) { return bool_result(params(t).*M); }
template <bool NoiseParams::*M>
void setFlag(ReferenceTarget* t, TimeValue, Value* v) { edit(t, [&](NoiseParams& p) { p.*M = v->to_bool(); }); }

template <int Axis>
Value* getAxisStrength(ReferenceTarget* t, TimeValue) { return Float::intern(params(t).strength[Axis]); }
template <int Axis>
void setAxisStrength(ReferenceTarget* t, TimeValue, Value* v) {
  float f = v->to_float();
  edit(t, [&](NoiseParams& p) { p.strength[Axis] = f; });
}

const bool noiseProps = addPropertyTable(
    PropertyScope{0, Class_ID(0, 0), false, isNoise},
    {
        {"seed", [](ReferenceTarget* t, TimeValue) -> Value* { return Integer::intern(params(t).seed); },
         [](ReferenceTarget* t, TimeValue, Value* v) { int s = v->to_int(); edit(t, [&](NoiseParams& p) { p.seed = s; }); }},
        {"frequency", [](ReferenceTarget* t, TimeValue) -> Value* { return Float::intern(params(t).frequency); },
         [](ReferenceTarget* t, TimeValue, Value* v) { float f = nonNegative(v); edit(t, [&](NoiseParams& p) { p.frequency = f; }); }},
        {"fractal", getFlag<&NoiseParams::fractal>, setFlag<&NoiseParams::fractal>},
        {"roughness", [](ReferenceTarget* t, TimeValue) -> Value* { return Float::intern(params(t).roughness); },
         [](ReferenceTarget* t, TimeValue, Value* v) {
           float f = std::clamp(v->to_float(), 0.0f, 1.0f);
           edit(t, [&](NoiseParams& p) { p.roughness = f; });
         }},
        {"rampin", [](ReferenceTarget* t, TimeValue) -> Value* { return MSTime::intern(params(t).rampIn); },
         [](ReferenceTarget* t, TimeValue, Value* v) { TimeValue r = rampTime(v); edit(t, [&](NoiseParams& p) { p.rampIn = r; }); }},
        {"rampout", [](ReferenceTarget* t, TimeValue) -> Value* { return MSTime::intern(params(t).rampOut); },
         [](ReferenceTarget* t, TimeValue, Value* v) { TimeValue r = rampTime(v); edit(t, [&](NoiseParams& p) { p.rampOut = r; }); }},
    });

const bool floatNoiseProps = addPropertyTable(
    PropertyScope{0, Class_ID(0, 0), false, isFloatNoise},
    {
        {"noise_strength", getAxisStrength<0>, setAxisStrength<0>},
        {"positive", getFlag<&NoiseParams::xPositive>, setFlag<&NoiseParams::xPositive>},
    });

const bool axisNoiseProps = addPropertyTable(
    PropertyScope{0, Class_ID(0, 0), false, isAxisNoise},
    {
        {"noise_strength", [](ReferenceTarget* t, TimeValue) -> Value* { return new Point3Value(params(t).strength); },
         [](ReferenceTarget* t, TimeValue, Value* v) { Point3 s = v->to_point3(); edit(t, [&](NoiseParams& p) { p.strength = s; }); }},
        {"x_strength", getAxisStrength<0>, setAxisStrength<0>},
        {"y_strength", getAxisStrength<1>, setAxisStrength<1>},
        {"z_strength", getAxisStrength<2>, setAxisStrength<2>},
        {"x_positive", getFlag<&NoiseParams::xPositive>, setFlag<&NoiseParams::xPositive>},
        {"y_positive", getFlag<&NoiseParams::yPositive>, setFlag<&NoiseParams::yPositive>},
        {"z_positive", getFlag<&NoiseParams::zPositive>, setFlag<&NoiseParams::zPositive>},
    });

}  // namespace

}  // namespace sim
