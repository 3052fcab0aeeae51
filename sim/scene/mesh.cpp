#include "mesh.h"

namespace {
constexpr int kMaxCount = 100000000;  // far beyond any scene we load, small enough to allocate
Point3 g_outOfRange;                 // what getVert answers for an index outside the mesh
}  // namespace

Mesh::Mesh() = default;

Mesh::Mesh(const Mesh& from) { *this = from; }

Mesh& Mesh::operator=(const Mesh& from) {
  if (this == &from) return *this;
  v_ = from.v_;
  f_ = from.f_;
  vertSel = from.vertSel;
  faceSel = from.faceSel;
  edgeSel = from.edgeSel;
  vertHide = from.vertHide;
  selLevel = from.selLevel;
  dispFlags = from.dispFlags;
  vData_.clear();
  for (const auto& ch : from.vData_) vData_.push_back(ch ? std::make_unique<std::vector<float>>(*ch) : nullptr);
  boxValid_ = false;
  sync();
  return *this;
}

Mesh::~Mesh() = default;

void Mesh::sync() {
  numVerts = static_cast<int>(v_.size());
  numFaces = static_cast<int>(f_.size());
  verts = v_.empty() ? nullptr : v_.data();
  faces = f_.empty() ? nullptr : f_.data();
}

BOOL Mesh::setNumVerts(int ct, BOOL keep, BOOL synchSel) {
  if (ct > kMaxCount) return FALSE;
  if (ct < 0) ct = 0;
  if (!keep) v_.assign(static_cast<size_t>(ct), Point3());
  else v_.resize(static_cast<size_t>(ct));
  if (synchSel) {
    vertSel.SetSize(ct, keep);
    vertHide.SetSize(ct, keep);
  }
  for (auto& ch : vData_)
    if (ch) {
      if (!keep) ch->assign(static_cast<size_t>(ct), 0.0f);
      else ch->resize(static_cast<size_t>(ct), 0.0f);
    }
  boxValid_ = false;
  sync();
  return TRUE;
}

BOOL Mesh::setNumFaces(int ct, BOOL keep, BOOL synchSel) {
  if (ct > kMaxCount) return FALSE;
  if (ct < 0) ct = 0;
  if (!keep) f_.assign(static_cast<size_t>(ct), Face());
  else f_.resize(static_cast<size_t>(ct));
  if (synchSel) {
    faceSel.SetSize(ct, keep);
    edgeSel.SetSize(ct * 3, keep);
  }
  sync();
  return TRUE;
}

void Mesh::setVert(int i, const Point3& xyz) {
  if (i < 0 || i >= numVerts) return;
  v_[static_cast<size_t>(i)] = xyz;
  boxValid_ = false;
}

Point3& Mesh::getVert(int i) {
  if (i < 0 || i >= numVerts) {
    g_outOfRange = Point3();
    return g_outOfRange;
  }
  return v_[static_cast<size_t>(i)];
}

const Point3& Mesh::getVert(int i) const { return const_cast<Mesh*>(this)->getVert(i); }

BitArray Mesh::VertexTempSel() {
  BitArray sel(numVerts);
  auto markFace = [&](int f) {
    for (int k = 0; k < 3; ++k) sel.Set(static_cast<int>(f_[static_cast<size_t>(f)].v[k]));
  };
  if (selLevel & MESH_VERTEX) {
    for (int i = 0; i < numVerts; ++i)
      if (vertSel[i]) sel.Set(i);
  } else if (selLevel & MESH_FACE) {
    for (int f = 0; f < numFaces; ++f)
      if (faceSel[f]) markFace(f);
  } else if (selLevel & MESH_EDGE) {
    for (int f = 0; f < numFaces; ++f)
      for (int e = 0; e < 3; ++e)
        if (edgeSel[f * 3 + e]) {
          sel.Set(static_cast<int>(f_[static_cast<size_t>(f)].v[e]));
          sel.Set(static_cast<int>(f_[static_cast<size_t>(f)].v[(e + 1) % 3]));
        }
  } else {
    sel.SetAll();
  }
  return sel;
}

void Mesh::setVDataSupport(int chan, BOOL support) {
  if (chan < 0 || chan >= MAX_VERTEX_DATA) return;
  if (static_cast<size_t>(chan) >= vData_.size()) {
    if (!support) return;
    vData_.resize(static_cast<size_t>(chan) + 1);
  }
  auto& ch = vData_[static_cast<size_t>(chan)];
  if (!support) ch.reset();
  else if (!ch) ch = std::make_unique<std::vector<float>>(static_cast<size_t>(numVerts), 0.0f);
}

BOOL Mesh::vDataSupport(int chan) const {
  return chan >= 0 && static_cast<size_t>(chan) < vData_.size() && vData_[static_cast<size_t>(chan)] != nullptr;
}

float* Mesh::vertexFloat(int chan) {
  if (!vDataSupport(chan)) return nullptr;
  auto& ch = *vData_[static_cast<size_t>(chan)];
  return ch.empty() ? nullptr : ch.data();
}

void Mesh::freeAllVData() { vData_.clear(); }

void Mesh::buildBoundingBox() {
  bdgBox_.Init();
  for (const Point3& p : v_) bdgBox_ += p;
  boxValid_ = true;
}

Box3 Mesh::getBoundingBox(Matrix3* tm) {
  if (tm) {
    Box3 b;
    for (const Point3& p : v_) b += p * *tm;
    return b;
  }
  if (!boxValid_) buildBoundingBox();
  return bdgBox_;
}

void Mesh::InvalidateGeomCache() { boxValid_ = false; }

void Mesh::FreeAll() {
  v_.clear();
  f_.clear();
  vertSel.SetSize(0);
  faceSel.SetSize(0);
  edgeSel.SetSize(0);
  vertHide.SetSize(0);
  vData_.clear();
  boxValid_ = false;
  sync();
}
