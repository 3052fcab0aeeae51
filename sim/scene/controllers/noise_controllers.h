// Noise controllers (noise_float, noise_position, noise_rotation, noise_scale): a value that wanders
// with time, the same for the same seed on every run and build. They have no keys; setting their
// value changes nothing.
#pragma once

#include "control.h"
#include "point3.h"

namespace sim {

struct NoiseParams {
  int seed = 0;
  float frequency = 0.5f;
  bool fractal = true;
  float roughness = 0.0f;
  TimeValue rampIn = 0, rampOut = 0;
  // Per axis; a float noise uses x. Rotation strengths are in degrees, scale strengths in percent.
  Point3 strength{50.0f, 50.0f, 50.0f};
  bool xPositive = false, yPositive = false, zPositive = false;
  bool operator==(const NoiseParams& o) const {
    return seed == o.seed && frequency == o.frequency && fractal == o.fractal && roughness == o.roughness &&
           rampIn == o.rampIn && rampOut == o.rampOut && strength == o.strength && xPositive == o.xPositive &&
           yPositive == o.yPositive && zPositive == o.zPositive;
  }
};

class HOST_API NoiseControl : public Control {
 public:
  enum class Kind { Float, Position, Rotation, Scale };
  explicit NoiseControl(Kind kind) : kind_(kind) {}

  void GetClassName(TSTR& s) override;
  Class_ID ClassID() override;
  SClass_ID SuperClassID() override;
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  RefTargetHandle Clone(RemapDir& remap) override;

  void GetValue(TimeValue t, void* val, Interval& valid, GetSetMethod method) override;
  void SetValue(TimeValue, void*, int, GetSetMethod) override {}
  void Copy(Control*) override {}
  BOOL IsKeyable() override { return FALSE; }

  // The parameters in one chunk.
  IOResult Save(ISave* isave) override;
  IOResult Load(ILoad* iload) override;

  Kind kind() const { return kind_; }
  const NoiseParams& params() const { return params_; }
  // Records undo and notifies dependents.
  void setParams(const NoiseParams& p);
  // The noise of each axis at `t`, before strength: from -0.5 to 0.5, or 0 to 1 on a positive
  // axis, scaled by the ramps.
  Point3 unitNoise(TimeValue t) const;

 private:
  Kind kind_;
  NoiseParams params_;
};

}  // namespace sim
