// Saving and loading a parameter block. The block writes which descriptor it belongs to (its
// owner's class and its block id), then one chunk per parameter: id, type, number of entries, number
// of references, and the entries of plain values. Reference-valued entries and controllers are
// references of the block, which the host saves and sets again after loading; RemapRefOnLoad puts
// each where the parameter that saved it is now, so a descriptor that gained, lost or reordered
// parameters still loads what it can.
#include "core/param_block2.h"

#include "core/class_registry.h"
#include "scene/host_class_desc.h"
#include "scenefile/chunk_io.h"
#include "scenefile/chunk_reader.h"
#include "scenefile/stand_in.h"

#include <cstring>

namespace sim {

namespace {

enum : USHORT { kBlockHeader = 0x0001, kParam = 0x0002 };

constexpr ULONG kUnsetText = 0xFFFFFFFFu;

// A block made for loading starts without parameters: the file names its descriptor.
ParamBlockDesc2 gUndescribed;
HostClassDesc paramBlockDesc("ParamBlock2", PARAMETER_BLOCK2_CLASS_ID, Class_ID(PARAMETER_BLOCK2_CLASS_ID, 0), "",
                             [](BOOL) -> void* { return static_cast<Animatable*>(new ParamBlock2(&gUndescribed, nullptr)); });
constexpr int kMaxEntries = 1 << 20;  // what a table can hold

struct BlockHeader {
  SClass_ID ownerSuper;
  ULONG ownerA, ownerB;
  int blockId;
  ULONG version;
};

struct ParamHeader {
  int id;
  int type;
  int count;
  int refs;    // references the parameter's entries or controllers hold
  int stored;  // 0: a transient parameter, whose values are not in the file
};

// Bytes of one entry of a plain kind; 0 for kinds the file holds no values of.
size_t entrySize(ParamKind k) {
  switch (k) {
    case ParamKind::Int: return sizeof(int);
    case ParamKind::Float: return sizeof(float);
    case ParamKind::Point3: return 3 * sizeof(float);
    case ParamKind::Point4: return 4 * sizeof(float);
    case ParamKind::Matrix3: return 12 * sizeof(float);
    default: return 0;
  }
}

void putPoint3(std::vector<unsigned char>& b, const ::Point3& p) {
  const float f[3] = {p.x, p.y, p.z};
  b.insert(b.end(), reinterpret_cast<const unsigned char*>(f), reinterpret_cast<const unsigned char*>(f + 3));
}

::Point3 getPoint3(const unsigned char* at) {
  float f[3];
  std::memcpy(f, at, sizeof f);
  return ::Point3(f[0], f[1], f[2]);
}

}  // namespace

IOResult ParamBlock2::Save(ISave* isave) {
  BlockHeader h{0, 0, 0, desc_->ID, desc_->version};
  if (ClassDesc2* cd = desc_->cd) {
    h.ownerSuper = cd->SuperClassID();
    h.ownerA = cd->ClassID().PartA();
    h.ownerB = cd->ClassID().PartB();
  }
  if (io::writeChunk(isave, kBlockHeader, h) != IO_OK) return IO_ERROR;

  std::vector<unsigned char> bytes;
  for (int p = 0; p < desc_->count; ++p) {
    const ParamDef& d = defAt(p);
    const Param& prm = params_[static_cast<size_t>(p)];
    const bool stored = !(d.flags & P_TRANSIENT);
    ParamHeader ph{d.ID, d.type, countAt(p), refSlots(p), stored ? 1 : 0};
    bytes.assign(reinterpret_cast<const unsigned char*>(&ph), reinterpret_cast<const unsigned char*>(&ph + 1));
    auto putAll = [&bytes](const auto& col) {
      const auto* b = reinterpret_cast<const unsigned char*>(col.data());
      bytes.insert(bytes.end(), b, b + col.size() * sizeof(col[0]));
    };
    if (stored) {
      switch (prm.kind) {
        case ParamKind::Int: putAll(std::get<std::vector<int>>(prm.values)); break;
        case ParamKind::Float: putAll(std::get<std::vector<float>>(prm.values)); break;
        case ParamKind::Point3:
          for (const ::Point3& v : std::get<std::vector<::Point3>>(prm.values)) putPoint3(bytes, v);
          break;
        case ParamKind::Point4:
          for (const ::Point4& v : std::get<std::vector<::Point4>>(prm.values)) {
            const float f[4] = {v.x, v.y, v.z, v.w};
            bytes.insert(bytes.end(), reinterpret_cast<const unsigned char*>(f), reinterpret_cast<const unsigned char*>(f + 4));
          }
          break;
        case ParamKind::Matrix3:
          for (const ::Matrix3& m : std::get<std::vector<::Matrix3>>(prm.values))
            for (int r = 0; r < 4; ++r) putPoint3(bytes, m.GetRow(r));
          break;
        case ParamKind::String:
          // Each entry: its length (kUnsetText for an unset entry), then its bytes.
          for (const StrEntry& s : std::get<std::vector<StrEntry>>(prm.values)) {
            const ULONG n = s ? static_cast<ULONG>(std::strlen(s.get())) : kUnsetText;
            bytes.insert(bytes.end(), reinterpret_cast<const unsigned char*>(&n), reinterpret_cast<const unsigned char*>(&n + 1));
            if (s) bytes.insert(bytes.end(), s.get(), s.get() + n);
          }
          break;
        default:  // references and kinds without values: the count says it all
          break;
      }
    }
    if (io::writeArray(isave, kParam, bytes.data(), bytes.size()) != IO_OK) return IO_ERROR;
  }
  return IO_OK;
}

IOResult ParamBlock2::Load(ILoad* iload) {
  loaded_ = true;
  savedRefs_.clear();
  int savedRef = 0;
  bool described = false;
  return io::forEachChunk(iload, [&](USHORT id) -> IOResult {
    if (id == kBlockHeader) {
      BlockHeader h;
      if (io::read(iload, h) != IO_OK) return IO_ERROR;
      auto* cd = dynamic_cast<ClassDesc2*>(ClassRegistry::instance().find(h.ownerSuper, Class_ID(h.ownerA, h.ownerB)));
      ParamBlockDesc2* desc = cd ? cd->GetParamBlockDescByID(static_cast<BlockID>(h.blockId)) : nullptr;
      if (!desc) {
        // The class that describes this block is not here (its module is missing): the block is
        // kept as it was saved, like its owner.
        keepAsStandIn(iload);
        return IO_ERROR;
      }
      build(desc);
      described = true;
      return IO_OK;
    }
    if (id != kParam) return IO_OK;
    if (!described) return IO_ERROR;
    return loadParam(iload, savedRef);
  });
}

IOResult ParamBlock2::loadParam(ILoad* iload, int& savedRef) {
  auto* reader = dynamic_cast<ChunkReader*>(iload);
  if (!reader) return IO_ERROR;
  ParamHeader h;
  if (!reader->get(h) || h.count < 0 || h.count > kMaxEntries || h.refs < 0 || h.refs > kMaxEntries) return reader->fail();
  const int first = savedRef;
  savedRef += h.refs;
  const int p = paramIndex(static_cast<ParamID>(h.id));
  // A parameter the descriptor no longer has, or has with another type: its values and references
  // are dropped.
  if (p < 0 || defAt(p).type != h.type) {
    savedRefs_.push_back(SavedRefs{first, h.refs, -1, false});
    return IO_OK;
  }
  Param& prm = params_[static_cast<size_t>(p)];
  const int count = h.count;
  if (!is_tab(defAt(p).type) && count != 1) return reader->fail();
  const bool refEntries = prm.kind == ParamKind::Ref;
  const int slots = refEntries || prm.hasControllers ? count : 0;
  // Each reference is an index in the maker's reference list further on: a count the rest of the
  // file cannot hold is refused before anything is allocated for it.
  if (h.refs != slots || size_t(h.refs) * sizeof(std::int32_t) > reader->bytesToEnd()) return reader->fail();
  savedRefs_.push_back(SavedRefs{first, h.refs, p, !refEntries});
  if (prm.hasControllers) prm.controllers.assign(static_cast<size_t>(count), nullptr);
  refLayoutDirty_ = true;

  const size_t n = static_cast<size_t>(count);
  if (!h.stored) {
    // Values the file does not hold: the parameter's defaults, as many as were saved.
    if (prm.kind != ParamKind::OwnerRef) fillDefaults(p, count);
    return IO_OK;
  }

  const unsigned char* at = reader->rest();
  const size_t avail = reader->remaining();
  if (const size_t sz = entrySize(prm.kind)) {
    if (avail != n * sz) return reader->fail();
    switch (prm.kind) {
      case ParamKind::Int: {
        std::vector<int> col(n);
        if (avail) std::memcpy(col.data(), at, avail);
        prm.values = std::move(col);
        break;
      }
      case ParamKind::Float: {
        std::vector<float> col(n);
        if (avail) std::memcpy(col.data(), at, avail);
        prm.values = std::move(col);
        break;
      }
      case ParamKind::Point3: {
        std::vector<::Point3> col(n);
        for (size_t k = 0; k < n; ++k) col[k] = getPoint3(at + k * sz);
        prm.values = std::move(col);
        break;
      }
      case ParamKind::Point4: {
        std::vector<::Point4> col(n);
        for (size_t k = 0; k < n; ++k) {
          float f[4];
          std::memcpy(f, at + k * sz, sizeof f);
          col[k] = ::Point4(f[0], f[1], f[2], f[3]);
        }
        prm.values = std::move(col);
        break;
      }
      case ParamKind::Matrix3: {
        std::vector<::Matrix3> col(n);
        for (size_t k = 0; k < n; ++k)
          for (int r = 0; r < 4; ++r) col[k].SetRow(r, getPoint3(at + k * sz + static_cast<size_t>(r) * 12));
        prm.values = std::move(col);
        break;
      }
      default: break;
    }
    reader->skip(avail);
    return IO_OK;
  }
  if (prm.kind == ParamKind::String) {
    // Every entry needs its length word at least: a count the chunk cannot hold is refused before
    // anything is allocated for it.
    if (avail / sizeof(ULONG) < n) return reader->fail();
    std::vector<StrEntry> col(n);
    size_t off = 0;
    for (size_t k = 0; k < n; ++k) {
      ULONG len;
      if (avail - off < sizeof len) return reader->fail(reader->position() + off);
      std::memcpy(&len, at + off, sizeof len);
      off += sizeof len;
      if (len == kUnsetText) continue;
      if (avail - off < len || std::memchr(at + off, 0, len)) return reader->fail(reader->position() + off);
      col[k] = std::make_unique_for_overwrite<char[]>(size_t(len) + 1);
      std::memcpy(col[k].get(), at + off, len);
      col[k][len] = '\0';
      off += len;
    }
    if (off != avail) return reader->fail(reader->position() + off);
    prm.values = std::move(col);
    reader->skip(avail);
    return IO_OK;
  }
  if (avail != 0) return reader->fail();
  // The owner's references are a fixed range of its own: that table keeps its declared length.
  if (prm.kind != ParamKind::OwnerRef) fillDefaults(p, count);
  return IO_OK;
}

void ParamBlock2::fillDefaults(int p, int count) {
  const ParamDef& d = defAt(p);
  Param& prm = params_[static_cast<size_t>(p)];
  const size_t n = static_cast<size_t>(count);
  switch (prm.kind) {
    case ParamKind::Int: prm.values = std::vector<int>(n, d.def.i); break;
    case ParamKind::Float: prm.values = std::vector<float>(n, d.def.f); break;
    case ParamKind::Point3: prm.values = std::vector<::Point3>(n, d.def.p); break;
    case ParamKind::Point4: prm.values = std::vector<::Point4>(n, d.def.p4); break;
    case ParamKind::Matrix3: prm.values = std::vector<::Matrix3>(n, d.def.m); break;
    case ParamKind::String: {
      std::vector<StrEntry> col(n);
      for (StrEntry& s : col) s = makeText(d.def.s);
      prm.values = std::move(col);
      break;
    }
    case ParamKind::Ref:
    case ParamKind::PlainRef: prm.values = std::vector<ReferenceTarget*>(n, nullptr); break;
    case ParamKind::OwnerRef:
    case ParamKind::None: prm.values = count; break;
  }
}

int ParamBlock2::RemapRefOnLoad(int iref) {
  if (!loaded_) return iref;
  for (const SavedRefs& s : savedRefs_) {
    if (iref < s.first || iref >= s.first + s.count) continue;
    return s.p < 0 ? -1 : refIndexOf(s.p, iref - s.first, s.controllers);
  }
  return -1;
}

}  // namespace sim
