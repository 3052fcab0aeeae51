// A node's own chunks in a scene file. Its controllers, object, material and target are references,
// saved by the host; its place in the hierarchy is saved with the scene.
#include "scene/scene_node.h"

#include "scenefile/chunk_io.h"

namespace sim {

namespace {

enum : USHORT { kName = 0x0001, kFlags = 0x0002, kWireColor = 0x0003, kUserProps = 0x0004, kPivot = 0x0005, kExposure = 0x0006,
              kGBufID = 0x0007 };

struct PivotData {
  float pos[3];
  float rot[4];
  float scale[3];
  float scaleAxis[4];
};

struct FlagData {
  std::uint32_t bits;
  std::int32_t motBlur;
};

}  // namespace

// The node's switches, one bit each, in a fixed order: the order is part of the file format.
#define QZM_NODE_FLAGS(X) \
  X(renderable) X(primaryVis) X(secondaryVis) X(inheritVis) X(rcvShadows) X(castShadows) X(applyAtmos) \
  X(renderOccluded) X(motBlurOn) X(caustics) X(globalIllum) X(frozen) X(xray) X(trajectory) X(backCull) \
  X(frozenWithMtl) X(boxMode) X(hidden) X(groupHead) X(groupMember) X(groupOpen)

IOResult SceneNode::Save(ISave* isave) {
  FlagData flags{0, flags_.motBlur};
  int bit = 0;
#define QZM_PUT_FLAG(f) flags.bits |= (flags_.f ? 1u : 0u) << bit++;
  QZM_NODE_FLAGS(QZM_PUT_FLAG)
#undef QZM_PUT_FLAG
  const PivotData pivot{{offsetPos_.x, offsetPos_.y, offsetPos_.z},
                        {offsetRot_.x, offsetRot_.y, offsetRot_.z, offsetRot_.w},
                        {offsetScale_.s.x, offsetScale_.s.y, offsetScale_.s.z},
                        {offsetScale_.q.x, offsetScale_.q.y, offsetScale_.q.z, offsetScale_.q.w}};
  const std::uint32_t exposure = static_cast<std::uint32_t>(exposure_.to_ulong());
  const std::uint32_t wire = wireColor_;
  if (io::writeText(isave, kName, name_) != IO_OK || io::writeChunk(isave, kFlags, flags) != IO_OK ||
      io::writeChunk(isave, kWireColor, wire) != IO_OK || io::writeText(isave, kUserProps, userProps_) != IO_OK ||
      io::writeChunk(isave, kPivot, pivot) != IO_OK || io::writeChunk(isave, kExposure, exposure) != IO_OK)
    return IO_ERROR;
  // Only when set, so that files of nodes without one stay as they were.
  const std::uint32_t gbuf = gbufID_;
  if (gbuf != 0) return io::writeChunk(isave, kGBufID, gbuf);
  return IO_OK;
}

IOResult SceneNode::Load(ILoad* iload) {
  return io::forEachChunk(iload, [&](USHORT id) -> IOResult {
    switch (id) {
      case kName: {
        std::string name;
        if (io::readText(iload, name) != IO_OK || name.find('\0') != std::string::npos) return IO_ERROR;
        name_ = std::move(name);
        return IO_OK;
      }
      case kFlags: {
        FlagData flags;
        if (io::read(iload, flags) != IO_OK) return IO_ERROR;
        int bit = 0;
#define QZM_GET_FLAG(f) flags_.f = ((flags.bits >> bit++) & 1u) != 0;
        QZM_NODE_FLAGS(QZM_GET_FLAG)
#undef QZM_GET_FLAG
        flags_.motBlur = flags.motBlur;
        return IO_OK;
      }
      case kWireColor: {
        std::uint32_t wire;
        if (io::read(iload, wire) != IO_OK) return IO_ERROR;
        wireColor_ = wire;
        return IO_OK;
      }
      case kUserProps:
        return io::readText(iload, userProps_);
      case kGBufID: {
        std::uint32_t gbuf;
        if (io::read(iload, gbuf) != IO_OK) return IO_ERROR;
        gbufID_ = gbuf;
        return IO_OK;
      }
      case kPivot: {
        PivotData p;
        if (io::read(iload, p) != IO_OK) return IO_ERROR;
        offsetPos_ = Point3(p.pos[0], p.pos[1], p.pos[2]);
        offsetRot_ = Quat(p.rot[0], p.rot[1], p.rot[2], p.rot[3]);
        offsetScale_ = ScaleValue(Point3(p.scale[0], p.scale[1], p.scale[2]),
                                  Quat(p.scaleAxis[0], p.scaleAxis[1], p.scaleAxis[2], p.scaleAxis[3]));
        return IO_OK;
      }
      case kExposure: {
        std::uint32_t exposure;
        if (io::read(iload, exposure) != IO_OK) return IO_ERROR;
        exposure_ = decltype(exposure_)(exposure);
        return IO_OK;
      }
      default:
        return IO_OK;
    }
  });
}

#undef QZM_NODE_FLAGS

}  // namespace sim
