// The controllers' own chunks in a scene file: a leaf's value, keys and key tangents, a list's entry names,
// weights and active entry. Sub-controllers are references, saved by the host.
#include "scene/controllers/controllers.h"

#include "scenefile/chunk_io.h"

#include <cstring>

namespace sim {

namespace {

enum : USHORT { kValue = 0x0001, kKeys = 0x0002, kKeyTangents = 0x0003, kListActive = 0x0010, kListEntry = 0x0011 };

// Values as plain floats, so the file does not depend on the classes' layout.
template <class T> constexpr size_t kFloats = 1;
template <> constexpr size_t kFloats<Point3> = 3;
template <> constexpr size_t kFloats<Point4> = 4;

void toFloats(float v, float* f) { f[0] = v; }
void toFloats(const Point3& v, float* f) { f[0] = v.x; f[1] = v.y; f[2] = v.z; }
void toFloats(const Point4& v, float* f) { f[0] = v.x; f[1] = v.y; f[2] = v.z; f[3] = v.w; }
void fromFloats(const float* f, float& v) { v = f[0]; }
void fromFloats(const float* f, Point3& v) { v = Point3(f[0], f[1], f[2]); }
void fromFloats(const float* f, Point4& v) { v = Point4(f[0], f[1], f[2], f[3]); }

struct ListEntryHeader {
  std::uint32_t named;
  float weight;
};

}  // namespace

template <class T>
IOResult LeafControl<T>::Save(ISave* isave) {
  float value[kFloats<T>];
  toFloats(track_.constant(), value);
  if (io::writeArray(isave, kValue, value, kFloats<T>) != IO_OK) return IO_ERROR;
  // Each key: its time, then its value.
  std::vector<unsigned char> keys;
  for (const Key<T>& k : track_.keys()) {
    float f[kFloats<T>];
    toFloats(k.value, f);
    const std::int32_t t = k.time;
    keys.insert(keys.end(), reinterpret_cast<const unsigned char*>(&t), reinterpret_cast<const unsigned char*>(&t + 1));
    keys.insert(keys.end(), reinterpret_cast<const unsigned char*>(f), reinterpret_cast<const unsigned char*>(f + kFloats<T>));
  }
  if (keys.empty()) return IO_OK;
  if (io::writeArray(isave, kKeys, keys.data(), keys.size()) != IO_OK) return IO_ERROR;
  // A chunk of its own, so that files from before tangents load with the default ones.
  std::vector<std::uint8_t> tangents;
  for (const Key<T>& k : track_.keys()) {
    tangents.push_back(static_cast<std::uint8_t>(k.inTangent));
    tangents.push_back(static_cast<std::uint8_t>(k.outTangent));
  }
  return io::writeArray(isave, kKeyTangents, tangents.data(), tangents.size());
}

template <class T>
IOResult LeafControl<T>::Load(ILoad* iload) {
  T constant = track_.constant();
  std::vector<Key<T>> keys;
  std::vector<std::uint8_t> tangents;
  bool hasTangents = false;
  IOResult r = io::forEachChunk(iload, [&](USHORT id) -> IOResult {
    std::vector<float> f;
    if (id == kValue) {
      if (io::readArray(iload, f) != IO_OK || f.size() != kFloats<T>) return IO_ERROR;
      fromFloats(f.data(), constant);
    } else if (id == kKeys) {
      std::vector<unsigned char> bytes;
      constexpr size_t kKeySize = sizeof(std::int32_t) + kFloats<T> * sizeof(float);
      if (io::readArray(iload, bytes) != IO_OK || bytes.size() % kKeySize != 0) return IO_ERROR;
      keys.resize(bytes.size() / kKeySize);
      for (size_t k = 0; k < keys.size(); ++k) {
        const unsigned char* at = bytes.data() + k * kKeySize;
        std::int32_t t;
        float v[kFloats<T>];
        std::memcpy(&t, at, sizeof t);
        std::memcpy(v, at + sizeof t, sizeof v);
        keys[k].time = t;
        fromFloats(v, keys[k].value);
      }
    } else if (id == kKeyTangents) {
      hasTangents = true;
      if (io::readArray(iload, tangents) != IO_OK) return IO_ERROR;
    }
    return IO_OK;
  });
  if (r != IO_OK) return r;
  if (hasTangents) {
    if (tangents.size() != keys.size() * 2) return IO_ERROR;
    for (std::uint8_t b : tangents)
      if (b >= kTangentTypeCount) return IO_ERROR;
    for (size_t k = 0; k < keys.size(); ++k) {
      keys[k].inTangent = static_cast<TangentType>(tangents[2 * k]);
      keys[k].outTangent = static_cast<TangentType>(tangents[2 * k + 1]);
    }
  }
  return track_.assign(constant, std::move(keys)) ? IO_OK : IO_ERROR;
}

template IOResult LeafControl<float>::Save(ISave*);
template IOResult LeafControl<float>::Load(ILoad*);
template IOResult LeafControl<Point3>::Save(ISave*);
template IOResult LeafControl<Point3>::Load(ILoad*);
template IOResult LeafControl<Point4>::Save(ISave*);
template IOResult LeafControl<Point4>::Load(ILoad*);

IOResult ListControl::Save(ISave* isave) {
  const std::int32_t active = active_;
  if (io::writeChunk(isave, kListActive, active) != IO_OK) return IO_ERROR;
  for (const Entry& e : entries_) {
    const ListEntryHeader h{e.name.named() ? 1u : 0u, e.weight};
    std::vector<unsigned char> bytes(reinterpret_cast<const unsigned char*>(&h), reinterpret_cast<const unsigned char*>(&h + 1));
    const std::string& name = e.name.text();
    bytes.insert(bytes.end(), name.begin(), name.end());
    if (io::writeArray(isave, kListEntry, bytes.data(), bytes.size()) != IO_OK) return IO_ERROR;
  }
  return IO_OK;
}

IOResult ListControl::Load(ILoad* iload) {
  std::int32_t active = 0;
  IOResult r = io::forEachChunk(iload, [&](USHORT id) -> IOResult {
    if (id == kListActive) return io::read(iload, active);
    if (id != kListEntry) return IO_OK;
    std::vector<unsigned char> bytes;
    ListEntryHeader h;
    if (io::readArray(iload, bytes) != IO_OK || bytes.size() < sizeof h) return IO_ERROR;
    std::memcpy(&h, bytes.data(), sizeof h);
    Entry e;
    e.weight = h.weight;
    // An unnamed entry is saved with no text; any text after a "not named" header is dropped.
    if (h.named != 0)
      e.name = ListEntryName(std::string_view(reinterpret_cast<const char*>(bytes.data() + sizeof h), bytes.size() - sizeof h));
    entries_.push_back(std::move(e));
    return IO_OK;
  });
  if (r != IO_OK) return r;
  if (active < 0 || (active >= GetListCount() && GetListCount() > 0)) return IO_ERROR;
  active_ = active;
  return IO_OK;
}

}  // namespace sim
