#include "scene/scene_node.h"

#include "core/core_interface.h"
#include "core/ref_graph.h"
#include "core/text.h"
#include "imtl.h"
#include "iparamb2.h"
#include "scene/change_restore.h"
#include "scene/controllers/controllers.h"
#include "scene/host_class_desc.h"
#include "scene/layers.h"
#include "scene/scene_services.h"
#include "scene/node_index.h"

#include <algorithm>
#include <cmath>

FPInterfaceDesc* INodeExposure::GetDesc() {
  static FPInterfaceDesc desc(NODEEXPOSURE_INTERFACE, _T("INodeExposure"), 0, nullptr, FP_MIXIN,
      kIsExposed, _T("isExposed"), 0, TYPE_bool, 0, 1,
          _T("ui"), 0, TYPE_INT,
      kSetExposed, _T("setExposed"), 0, TYPE_VOID, 0, 2,
          _T("state"), 0, TYPE_bool,
          _T("ui"), 0, TYPE_INT,
      p_end);
  return &desc;
}

namespace sim {

namespace {

ULONG g_nextHandle = 1;

// Wire colours new nodes get in turn (packed, red in the low byte).
constexpr DWORD kWirePalette[] = {0x00E5A486, 0x0099E1B0, 0x00AC8ADA, 0x0057B0E4, 0x007DC5F2,
                                  0x00E69D52, 0x005A9CA6, 0x008FB38C, 0x00BA7ED5, 0x0054A0C6};

// Target nodes may look at nodes that look at others; this far and no further.
constexpr int kMaxTargetDepth = 16;
int g_targetDepth = 0;

// The rotation that makes -z point from `eye` to `at`, with z up where possible.
Matrix3 lookAt(const Point3& eye, const Point3& at) {
  Point3 z = eye - at;
  if (z.LengthSquared() < 1e-12f) return TransMatrix(eye);
  z = z.Normalize();
  Point3 up = std::fabs(z.z) > 0.9999f ? Point3(0.0f, 1.0f, 0.0f) : Point3(0.0f, 0.0f, 1.0f);
  Point3 x = CrossProd(up, z).Normalize();
  Point3 y = CrossProd(z, x);
  return Matrix3(x, y, z, eye);
}

}  // namespace

// ---- exposure -----------------------------------------------------------------------------------

bool NodeExposure::IsExposed(int ui) const { return node_->exposed(ui); }
void NodeExposure::SetExposed(bool state, int ui) { node_->setExposed(ui, state); }
void NodeExposure::SetExposed(bool state) {
  for (int ui = 0; ui < kUI_num; ++ui) node_->setExposed(ui, state);
}

void SceneNode::setExposed(int ui, bool state) {
  if (ui < 0 || ui >= static_cast<int>(exposure_.size()) || exposure_[static_cast<size_t>(ui)] == state) return;
  recordChange(this, !state, state, [this, ui](const bool& v) { exposure_[static_cast<size_t>(ui)] = v; }, "Node exposure");
  exposure_[static_cast<size_t>(ui)] = state;
}

// ---- life ---------------------------------------------------------------------------------------

SceneNode::SceneNode(bool isRoot, bool loading)
    : isRoot_(isRoot), name_(isRoot ? "Scene Root" : ""), handle_(g_nextHandle++), exposureIface_(this) {
  exposure_.set();
  wireColor_ = kWirePalette[handle_ % (sizeof(kWirePalette) / sizeof(kWirePalette[0]))];
  if (isRoot_) {
    inScene_ = true;
    return;
  }
  if (loading) return;
  layer_ = KeepAlive(sceneServices().layers.current());
  // The transform controller is made outside any hold: a new node has nothing to undo yet.
  theHold.Suspend();
  ReplaceReference(0, NewDefaultMatrix3Controller());
  theHold.Resume();
}

SceneNode::~SceneNode() = default;

BaseInterface* SceneNode::GetInterface(Interface_ID id) {
  if (id == NODEEXPOSURE_INTERFACE) return &exposureIface_;
  return INode::GetInterface(id);
}

void SceneNode::changed() { NotifyDependents(FOREVER, PART_ALL, REFMSG_CHANGE); }

// ---- name and hierarchy ---------------------------------------------------------------------------

void SceneNode::SetName(const TCHAR* s) {
  std::string now = s ? s : "";
  if (now == name_) return;
  std::string old = name_;
  recordChange(this, old, now, [this](const std::string& v) { SetName(v.c_str()); }, "Node name");
  name_ = now;
  if (inScene_ && !isRoot_) coreInterface()->nodeIndex().rename(this, old);
  NotifyDependents(FOREVER, PART_ALL, REFMSG_NODE_NAMECHANGE);
}

INode* SceneNode::GetChildNode(int i) { return i >= 0 && i < NumberOfChildren() ? children_[static_cast<size_t>(i)] : nullptr; }

void SceneNode::setInScene(bool on) {
  // Iterative over the subtree: hierarchies can be deeper than the stack.
  std::vector<SceneNode*> stack{this};
  NodeIndex& index = coreInterface()->nodeIndex();
  while (!stack.empty()) {
    SceneNode* n = stack.back();
    stack.pop_back();
    if (n->isRoot_ || n->inScene_ == on) continue;
    n->inScene_ = on;
    if (on) index.add(n);
    else {
      index.remove(n);
      coreInterface()->DeSelectNode(n);
    }
    for (SceneNode* c : n->children_) stack.push_back(c);
  }
}

void SceneNode::attach(SceneNode* child) {
  RefGraph::hold(child);  // a parent's claim on its child
  if (child->parent_) {
    child->parent_->removeChild(child);
    RefGraph::unhold(child, false);
  }
  child->parent_ = this;
  children_.push_back(child);
  child->invalidateTM();
  if (inScene_ && !child->inScene_) child->setInScene(true);
}

void SceneNode::AttachChild(INode* node, int keepTM) {
  auto* child = dynamic_cast<SceneNode*>(node);
  if (!child || child == this || child->IsDeleted() || child->isRoot_ || IsDeleted()) return;
  // A node cannot become its own descendant; one without children cannot be an ancestor, which
  // spares the walk up when chains are built from the top.
  if (!child->children_.empty())
    for (SceneNode* p = this; p; p = p->parent_)
      if (p == child) return;
  if (child->parent_ == this) return;
  TimeValue t = coreInterface()->GetTime();
  Matrix3 world;
  if (keepTM) world = child->GetNodeTM(t);
  attach(child);
  if (keepTM) child->SetNodeTM(t, world);
}

void SceneNode::Detach(TimeValue, int keepTM) {
  if (isRoot_ || !parent_) return;
  if (INode* root = coreInterface()->GetRootNode(); root && root != parent_) root->AttachChild(this, keepTM);
}

void SceneNode::removeChild(SceneNode* child) {
  // From the back: tearing down a tree takes each parent's children last first, and a search from
  // the front made clearing a scene of n top-level nodes take n^2 steps.
  auto it = std::find(children_.rbegin(), children_.rend(), child);
  if (it != children_.rend()) children_.erase(std::next(it).base());
  child->parent_ = nullptr;
}

void SceneNode::Delete(TimeValue t, int keepChildPosition) {
  if (isRoot_ || IsDeleted()) return;
  RefGraph::hold(this);
  // Children move up to this node's parent (or the root).
  SceneNode* newParent = parent_;
  if (!newParent) newParent = dynamic_cast<SceneNode*>(coreInterface()->GetRootNode());
  while (!children_.empty()) {
    SceneNode* c = children_.back();
    if (newParent && newParent != this) newParent->AttachChild(c, keepChildPosition);
    if (!children_.empty() && children_.back() == c) {  // could not move it: let it go
      removeChild(c);
      c->setInScene(false);
      RefGraph::unhold(c, false);
    }
  }
  if (inScene_) {
    coreInterface()->nodeIndex().remove(this);
    coreInterface()->DeSelectNode(this);
    inScene_ = false;
  }
  if (parent_) {
    parent_->removeChild(this);
    RefGraph::unhold(this, false);
  }
  RefGraph::deleteTarget(this);
  RefGraph::unhold(this, false);
}

void SceneNode::DeleteTree() {
  // Deepest nodes first, without recursion: hierarchies can be deeper than the stack.
  std::vector<SceneNode*> order{this}, stack{this};
  while (!stack.empty()) {
    SceneNode* n = stack.back();
    stack.pop_back();
    for (SceneNode* c : n->children_) {
      order.push_back(c);
      stack.push_back(c);
    }
  }
  for (SceneNode* n : order) RefGraph::hold(n);
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    SceneNode* n = *it;
    n->inScene_ = false;
    if (n->parent_) {
      n->parent_->removeChild(n);
      RefGraph::unhold(n, false);
    }
    RefGraph::deleteTarget(n);
  }
  for (auto it = order.rbegin(); it != order.rend(); ++it) RefGraph::unhold(*it, false);
}

// ---- object ---------------------------------------------------------------------------------------

// The world-space derived object that binds space warps, or null. The class id is asked before the
// cast: every script access to a node's base object comes here.
IDerivedObject* SceneNode::wsmDerived() const {
  return object_ && object_->ClassID() == WSMDerivObjClassID ? dynamic_cast<IDerivedObject*>(object_) : nullptr;
}

Object* SceneNode::GetObjectRef() {
  // Below the space-warp bindings: the world-space derived object's own object.
  if (IDerivedObject* d = wsmDerived()) return d->GetObjRef();
  return object_;
}

void SceneNode::SetObjectRef(Object* o) {
  if (isRoot_) return;
  if (IDerivedObject* d = wsmDerived(); d && o != d) {
    d->ReferenceObject(o);
    return;
  }
  ReplaceReference(1, o);
  changed();
}

const ObjectState& SceneNode::EvalWorldState(TimeValue time, BOOL) {
  worldState_ = object_ ? object_->Eval(time) : ObjectState();
  return worldState_;
}

// ---- transform ------------------------------------------------------------------------------------

Matrix3 SceneNode::localTM(TimeValue t) {
  Matrix3 m;
  if (tmCtrl_) {
    Interval valid = FOREVER;
    tmCtrl_->GetValue(t, &m, valid, CTRL_RELATIVE);
  }
  return m;
}

void SceneNode::invalidateTM() {
  std::vector<SceneNode*> stack{this};
  while (!stack.empty()) {
    SceneNode* n = stack.back();
    stack.pop_back();
    // A node whose cache is clear has a subtree whose caches are clear already.
    if (!n->tmValid_ && n != this) continue;
    n->tmValid_ = false;
    for (SceneNode* c : n->children_) stack.push_back(c);
  }
}

Matrix3 SceneNode::GetNodeTM(TimeValue t, Interval* valid) {
  if (valid) *valid = Interval(t, t);
  if (isRoot_) return Matrix3();
  // Up to the nearest ancestor whose cache holds `t`, then down again filling caches.
  std::vector<SceneNode*> chain;
  SceneNode* n = this;
  while (n && !n->isRoot_ && !(n->tmValid_ && n->tmTime_ == t)) {
    chain.push_back(n);
    n = n->parent_;
  }
  Matrix3 m = n && !n->isRoot_ ? n->tm_ : Matrix3();
  bool cacheable = true;  // nodes looking at a target change with it: neither they nor their subtree cache
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    SceneNode* c = *it;
    m = c->localTM(t) * m;
    if (c->target_ && !c->computingTM_ && g_targetDepth < kMaxTargetDepth) {
      c->computingTM_ = true;
      ++g_targetDepth;
      Point3 at = c->target_->GetNodeTM(t).GetTrans();
      --g_targetDepth;
      c->computingTM_ = false;
      m = lookAt(m.GetTrans(), at);
    }
    if (c->target_) cacheable = false;
    if (cacheable) {
      c->tm_ = m;
      c->tmTime_ = t;
      c->tmValid_ = true;
    }
  }
  return m;
}

Matrix3 SceneNode::GetParentTM(TimeValue t) { return parent_ ? parent_->GetNodeTM(t) : Matrix3(); }

void SceneNode::SetNodeTM(TimeValue t, Matrix3& tm) {
  if (isRoot_ || !tmCtrl_) return;
  Matrix3 local = tm * GetParentTM(t).Inverse();
  tmCtrl_->SetValue(t, &local, 1, CTRL_ABSOLUTE);
}

Matrix3 SceneNode::offsetTM() const {
  Matrix3 m = ScaleMatrix(offsetScale_.s);
  Matrix3 r;
  offsetRot_.MakeMatrix(r);
  m = m * r;
  m.Translate(offsetPos_);
  return m;
}

Matrix3 SceneNode::GetObjectTM(TimeValue t, Interval* valid) { return offsetTM() * GetNodeTM(t, valid); }

BOOL SceneNode::SetTMController(Control* m3cont) {
  if (isRoot_ || !m3cont || m3cont->SuperClassID() != CTRL_MATRIX3_CLASS_ID) return FALSE;
  if (ReplaceReference(0, m3cont) != REF_SUCCEED) return FALSE;
  invalidateTM();
  changed();
  return TRUE;
}

void SceneNode::SetObjOffsetPos(Point3 p) {
  if (p == offsetPos_) return;
  recordChange(this, offsetPos_, p, [this](const Point3& v) { offsetPos_ = v; changed(); }, "Pivot");
  offsetPos_ = p;
  changed();
}

void SceneNode::SetObjOffsetRot(Quat q) {
  if (q == offsetRot_) return;
  recordChange(this, offsetRot_, q, [this](const Quat& v) { offsetRot_ = v; changed(); }, "Pivot");
  offsetRot_ = q;
  changed();
}

void SceneNode::SetObjOffsetScale(ScaleValue sv) {
  if (sv.s == offsetScale_.s && sv.q == offsetScale_.q) return;
  recordChange(this, offsetScale_, sv, [this](const ScaleValue& v) { offsetScale_ = v; changed(); }, "Pivot");
  offsetScale_ = sv;
  changed();
}

bool SceneNode::setTarget(INode* target) {
  auto* t = dynamic_cast<SceneNode*>(target);
  if (target && (!t || t == this || t->isRoot_)) return false;
  if (ReplaceReference(5, t) != REF_SUCCEED) return false;
  invalidateTM();
  changed();
  return true;
}

// ---- visibility and blur multiplier --------------------------------------------------------------

void SceneNode::SetVisController(Control* cont) {
  if (isRoot_ || (cont && cont->SuperClassID() != CTRL_FLOAT_CLASS_ID)) return;
  if (ReplaceReference(3, cont) == REF_SUCCEED) changed();
}

float SceneNode::GetVisibility(TimeValue t, Interval* valid) {
  float v = 1.0f;
  Interval iv = FOREVER;
  if (visCtrl_) visCtrl_->GetValue(t, &v, iv, CTRL_ABSOLUTE);
  if (valid) *valid &= iv;
  return v;
}

void SceneNode::SetVisibility(TimeValue t, float vis) {
  if (isRoot_) return;
  if (!visCtrl_) {
    Control* c = NewDefaultFloatController();
    float one = 1.0f;
    c->SetValue(0, &one, 1, CTRL_ABSOLUTE);
    SetVisController(c);
  }
  if (visCtrl_) visCtrl_->SetValue(t, &vis, 1, CTRL_ABSOLUTE);
}

void SceneNode::SetImageBlurMultController(Control* cont) {
  if (isRoot_ || (cont && cont->SuperClassID() != CTRL_FLOAT_CLASS_ID)) return;
  if (ReplaceReference(4, cont) == REF_SUCCEED) changed();
}

float SceneNode::GetImageBlurMultiplier(TimeValue t) {
  float v = 1.0f;
  Interval iv = FOREVER;
  if (blurCtrl_) blurCtrl_->GetValue(t, &v, iv, CTRL_ABSOLUTE);
  return v;
}

void SceneNode::SetImageBlurMultiplier(TimeValue t, float m) {
  if (isRoot_) return;
  if (!blurCtrl_) {
    Control* c = NewDefaultFloatController();
    float one = 1.0f;
    c->SetValue(0, &one, 1, CTRL_ABSOLUTE);
    SetImageBlurMultController(c);
  }
  if (blurCtrl_) blurCtrl_->SetValue(t, &m, 1, CTRL_ABSOLUTE);
}

// ---- settings -------------------------------------------------------------------------------------

void SceneNode::setFlag(bool Flags::*field, BOOL onOff) {
  bool on = onOff != 0;
  if (flags_.*field == on) return;
  recordChange(this, !on, on, [this, field](const bool& v) { flags_.*field = v; changed(); }, "Node property");
  flags_.*field = on;
  changed();
}

int SceneNode::IsNodeHidden(BOOL forRenderer) {
  if (flags_.hidden) return TRUE;
  if (isRoot_) return FALSE;
  const Layer* layer = sceneServices().layers.layerOf(this);
  return layer && (layer->hidden() || (forRenderer && !layer->renderable()));
}

void SceneNode::setLayerRef(ReferenceTarget* layer) {
  if (layer == layer_.get()) return;
  recordChange(this, layer_, KeepAlive(layer), [this](const KeepAlive& v) { layer_ = v; }, "Node layer");
  layer_ = KeepAlive(layer);
}

void SceneNode::SetMotBlur(int kind) {
  if (kind == flags_.motBlur) return;
  recordChange(this, flags_.motBlur, kind, [this](const int& v) { flags_.motBlur = v; changed(); }, "Motion blur");
  flags_.motBlur = kind;
  changed();
}

void SceneNode::SetWireColor(DWORD newcol) {
  if (newcol == wireColor_) return;
  recordChange(this, wireColor_, newcol, [this](const DWORD& v) { wireColor_ = v; changed(); }, "Wire colour");
  wireColor_ = newcol;
  changed();
}

void SceneNode::SetGBufID(ULONG id) {
  if (id == gbufID_) return;
  recordChange(this, gbufID_, id, [this](const ULONG& v) { gbufID_ = v; changed(); }, "G-buffer channel");
  gbufID_ = id;
  changed();
}

void SceneNode::SetUserPropBuffer(const MSTR& buf) {
  if (buf.str() == userProps_) return;
  recordChange(this, userProps_, buf.str(), [this](const std::string& v) { userProps_ = v; }, "User properties");
  userProps_ = buf.str();
}

namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// Finds the line "key = value" of `key` (without case): where the line starts and ends, and the value.
bool findUserProp(const std::string& buf, std::string_view key, size_t& lineStart, size_t& lineEnd, std::string& value) {
  size_t pos = 0;
  while (pos <= buf.size()) {
    size_t end = buf.find('\n', pos);
    if (end == std::string::npos) end = buf.size();
    std::string_view line(buf.data() + pos, end - pos);
    size_t eq = line.find('=');
    if (eq != std::string_view::npos && equalsIgnoreCase(trim(line.substr(0, eq)), trim(key))) {
      lineStart = pos;
      lineEnd = end < buf.size() ? end + 1 : end;
      value = std::string(trim(line.substr(eq + 1)));
      return true;
    }
    if (end >= buf.size()) break;
    pos = end + 1;
  }
  return false;
}

}  // namespace

BOOL SceneNode::GetUserPropString(const MSTR& key, MSTR& string) {
  size_t s, e;
  std::string v;
  if (!findUserProp(userProps_, key.str(), s, e, v)) return FALSE;
  string = MSTR(v);
  return TRUE;
}

void SceneNode::SetUserPropString(const MSTR& key, const MSTR& string) {
  std::string buf = userProps_;
  std::string line = key.str() + " = " + string.str() + "\r\n";
  size_t s, e;
  std::string v;
  if (findUserProp(buf, key.str(), s, e, v)) {
    buf.replace(s, e - s, line);
  } else {
    if (!buf.empty() && buf.back() != '\n') buf += "\r\n";
    buf += line;
  }
  SetUserPropBuffer(MSTR(buf));
}

BOOL SceneNode::UserPropExists(const MSTR& key) {
  size_t s, e;
  std::string v;
  return findUserProp(userProps_, key.str(), s, e, v);
}

void SceneNode::SetMtl(Mtl* matl) {
  if (isRoot_ || matl == mtl_) return;
  if (ReplaceReference(2, matl) != REF_SUCCEED) return;
  // As in the host, an assigned material joins the scene's material library.
  if (matl) coreInterface()->GetSceneMtls()->Add(matl);
  NotifyDependents(FOREVER, PART_ALL, REFMSG_NODE_MATERIAL_CHANGED);
  changed();
}

// ---- references -----------------------------------------------------------------------------------

RefTargetHandle SceneNode::GetReference(int i) {
  switch (i) {
    case 0: return tmCtrl_;
    case 1: return object_;
    case 2: return mtl_;
    case 3: return visCtrl_;
    case 4: return blurCtrl_;
    case 5: return target_;
    default: return nullptr;
  }
}

void SceneNode::SetReference(int i, RefTargetHandle rtarg) {
  switch (i) {
    case 0:
      tmCtrl_ = dynamic_cast<Control*>(rtarg);
      invalidateTM();
      break;
    case 1: object_ = dynamic_cast<Object*>(rtarg); break;
    case 2: mtl_ = dynamic_cast<Mtl*>(rtarg); break;
    case 3: visCtrl_ = dynamic_cast<Control*>(rtarg); break;
    case 4: blurCtrl_ = dynamic_cast<Control*>(rtarg); break;
    case 5:
      target_ = dynamic_cast<SceneNode*>(rtarg);
      invalidateTM();
      break;
    default: break;
  }
}

RefResult SceneNode::NotifyRefChanged(Interval, RefTargetHandle hTarget, PartID& partID, RefMessage message) {
  if (message == REFMSG_GET_NODE_HANDLE) {
    // The asker passed the address of its answer as the part id; the first node to answer ends it.
    if (partID) *reinterpret_cast<ULONG*>(partID) = GetHandle();
    return REF_STOP;
  }
  if (message == REFMSG_CHANGE && hTarget && (hTarget == tmCtrl_ || hTarget == target_)) invalidateTM();
  return REF_SUCCEED;
}

// The application's order, which scripts index by number ($b[3][1] is the position): slot 1 holds
// the space-warp bindings, which this host keeps in the world-space pipeline instead, so it is empty.
Animatable* SceneNode::SubAnim(int i) {
  switch (i) {
    case 0: return visCtrl_;
    case 2: return tmCtrl_;
    case 3: return object_;
    case 4: return mtl_;
    case 5: return blurCtrl_;
    default: return nullptr;
  }
}

namespace {
// The slots' names but the object's, which names the object's class.
constexpr int kObjectSlot = 3;
constexpr const char* kSubAnimNames[] = {"Visibility", "Space Warps", "Transform", nullptr, "Material",
                                         "Image Motion Blur Multiplier"};
constexpr std::string_view kObjectPrefix = "Object (";
}  // namespace

TSTR SceneNode::SubAnimName(int i) {
  if (i == kObjectSlot) {
    Object* base = object_ ? object_->FindBaseObject() : nullptr;
    return TSTR(std::string(kObjectPrefix) + (base ? base->GetObjectName() : "") + ")");
  }
  return i >= 0 && i < static_cast<int>(std::size(kSubAnimNames)) ? TSTR(kSubAnimNames[i]) : TSTR();
}

int SceneNode::subAnimNamed(std::string_view name) {
  for (int i = 0, n = NumSubs(); i < n; ++i) {
    if (i != kObjectSlot) {
      if (sim::scriptNameEquals(kSubAnimNames[i], name)) return i;
    } else if (name.size() > kObjectPrefix.size() && sim::scriptNameEquals(kObjectPrefix, name.substr(0, kObjectPrefix.size()))) {
      if (sim::scriptNameEquals(SubAnimName(i).str(), name)) return i;  // only a name that can be it
    }
  }
  return -1;
}

BOOL SceneNode::AssignController(Animatable* control, int subAnim) {
  auto* c = dynamic_cast<Control*>(control);
  if (isRoot_ || (control && !c)) return FALSE;
  switch (subAnim) {
    case 0:
      if (c && c->SuperClassID() != CTRL_FLOAT_CLASS_ID) return FALSE;
      SetVisController(c);
      return visCtrl_ == c;
    case 2: return c ? SetTMController(c) : FALSE;
    case 5:
      if (c && c->SuperClassID() != CTRL_FLOAT_CLASS_ID) return FALSE;
      SetImageBlurMultController(c);
      return blurCtrl_ == c;
    default: return FALSE;
  }
}

namespace {
// Nodes made by class id (scene loading) start outside the scene; the loader attaches them.
HostClassDesc nodeDesc("Node", BASENODE_CLASS_ID, Class_ID(BASENODE_CLASS_ID, 0), "",
                       [](BOOL loading) -> void* { return static_cast<INode*>(new SceneNode(false, loading)); });
}  // namespace

void SceneNode::copySettingsFrom(const SceneNode& from) {
  flags_ = from.flags_;
  wireColor_ = from.wireColor_;
  gbufID_ = from.gbufID_;
  userProps_ = from.userProps_;
  offsetPos_ = from.offsetPos_;
  offsetRot_ = from.offsetRot_;
  offsetScale_ = from.offsetScale_;
  exposure_ = from.exposure_;
  invalidateTM();
  changed();
}

std::string uniqueNodeName(std::string_view base) { return coreInterface()->nodeIndex().uniqueName(base); }

}  // namespace sim
