#include "holder_restore.h"

#include "holder_controller_tables.h"
#include "holder_guards.h"
#include "holder_params.h"
#include "holder_scene.h"
#include "imtl.h"
#include "istdplug.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "qzm_classes.h"
#include "record_fields.h"
#include "restore_texts.h"
#include "script_text.h"
#include "stored_literal.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kPassNotFound = "PassIndex Not Found\n";
constexpr const char* kNoData = "Data to restore doesn't exist\n";
constexpr const char* kCameraObject = "reftarg called\n";
// A stored value that is not a literal is never run: property, node, "pass <number>" or "initial state".
constexpr const char* kRefusedValue = "QZMMessage: Refused the stored value of %s on %s (%s): not a literal\n";

// The per-pass material answers any block index with its one block; it is asked with the block's
// reference index.
constexpr int kPassMaterialBlockIndex = pass_material::kPBlockRef;

// Which table an animated generic property links from, and which fresh controller replaces its
// animation when it is not animated, by class tag.
struct ClassControllers {
  const ControllerTable* table;
  const char* fresh;
};

ClassControllers controllersOfClass(const std::string& cls) {
  if (cls == "float" || cls == "int" || cls == "bool") return {&controller_tables::kFloat, "bezier_float"};
  if (cls == "point3") return {&controller_tables::kPoint3, "bezier_point3"};
  if (cls == "color") return {&controller_tables::kPoint3, "bezier_color"};
  if (cls == "point4" || cls == "rgba") return {&controller_tables::kPoint4, "bezier_point4"};
  return {nullptr, nullptr};
}

// The decimal value of a field as atoi reads it, without atoi's overflow: out-of-range values wrap
// the way a 32-bit word does, which is what a packed wire colour needs.
int fieldInt(const std::string& text) {
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<int>(static_cast<std::uint32_t>(static_cast<unsigned long long>(v)));
}

// An object index must be plain digits: it goes into the composed texts as it is written.
bool isIndex(const std::string& text) {
  if (text.empty() || text.size() > 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

// Node settings restored directly, by name, from the decimal value of the state field.
struct FlagSetter {
  const char* name;
  void (*set)(INode*, int);
};

constexpr FlagSetter kNodeFlags[] = {
    {"renderable", [](INode* n, int v) { n->SetRenderable(v); }},
    {"primaryVisibility", [](INode* n, int v) { n->SetPrimaryVisibility(v); }},
    {"secondaryVisibility", [](INode* n, int v) { n->SetSecondaryVisibility(v); }},
    {"inheritVisibility", [](INode* n, int v) { n->SetInheritVisibility(v); }},
    {"receiveshadows", [](INode* n, int v) { n->SetRcvShadows(v); }},
    {"castShadows", [](INode* n, int v) { n->SetCastShadows(v); }},
    {"applyatmospherics", [](INode* n, int v) { n->SetApplyAtmospherics(v); }},
    {"renderOccluded", [](INode* n, int v) { n->SetRenderOccluded(v); }},
    {"motionBlurOn", [](INode* n, int v) { n->SetMotBlurOnOff(0, v); }},
    {"isfrozen", [](INode* n, int v) { n->Freeze(v); }},
    {"xray", [](INode* n, int v) { n->XRayMtl(v); }},
    {"showTrajectory", [](INode* n, int v) { n->SetTrajectoryON(v); }},
    {"backfacecull", [](INode* n, int v) { n->BackCull(v); }},
    // The node keeps the opposite setting (capture reads it the same way).
    {"showFrozenInGray", [](INode* n, int v) { n->SetShowFrozenWithMtl(v ? FALSE : TRUE); }},
    {"generateCaustics", [](INode* n, int v) { n->SetGenerateCaustics(v); }},
    {"generateGlobalIllum", [](INode* n, int v) { n->SetGenerateGlobalIllum(v); }},
    {"boxmode", [](INode* n, int v) { n->BoxMode(v); }},
    {"motionblur", [](INode* n, int v) { n->SetMotBlur(v); }},
    {"wirecolor", [](INode* n, int v) { n->SetWireColor(static_cast<DWORD>(static_cast<std::uint32_t>(v))); }},
};

enum class Chain { Geometry, Light, Camera };

class Restore {
 public:
  explicit Restore(const RestoreRequest& r) : r_(r), pb_(r.pblock), keeper_(r.node, r.pblock) {}

  void run() {
    t_ = GetCOREInterface()->GetTime();
    AnimateSuspended suspended;
    const int names = pb_->Count(pb_propertyName);
    if (names == 0) return;
    if (!r_.initial) {
      passSlot_ = findPass();
      if (passSlot_ < 0) {
        print(kPassNotFound);
        return;
      }
    }
    int topLevelEval = r_.topLevelEval;
    const SClass_ID sclass = ResolveNodeKind(r_.node, topLevelEval, r_.debug);
    const ParamID stateTab = r_.initial ? pb_IpropertyState : pb_propertyState;
    if (passSlot_ >= pb_->Count(stateTab)) {
      print(kNoData);
      return;
    }
    state_ = holder_tables::GetText(pb_, stateTab, passSlot_);
    class_ = holder_tables::GetText(pb_, r_.initial ? pb_IpropertyClass : pb_propertyClass, passSlot_);
    anim_ = holder_tables::GetText(pb_, r_.initial ? pb_IpropertyIsAnimated : pb_propertyIsAnimated, passSlot_);
    stateFields_ = RecordFields(state_);
    classFields_ = RecordFields(class_);
    animFields_ = RecordFields(anim_);
    holder_ = FindHolderNodeName(pb_);

    switch (sclass) {
      case LIGHT_CLASS_ID: chain_ = Chain::Light; break;
      case CAMERA_CLASS_ID: chain_ = Chain::Camera; break;
      case GEOMOBJECT_CLASS_ID:
      case SHAPE_CLASS_ID:
      case HELPER_CLASS_ID: chain_ = Chain::Geometry; break;
      default: return;
    }

    const int only = r_.initial ? selectedSlot(names) : -1;
    for (int j = 0; j < names; ++j) {
      if (only >= 0 && j != only) continue;
      if (!keeper_.alive()) return;
      restoreSlot(j);
    }
  }

 private:
  static void print(const char* text) { the_listener->edit_stream->puts(text); }
  void runQuietly(const std::string& text) { ExecuteMAXScriptScript(text.c_str(), TRUE); }

  int findPass() {
    const int n = pb_->Count(pb_passlist);
    for (int i = 0; i < n; ++i)
      if (pb_->GetInt(pb_passlist, 0, i) == r_.whichPass) return i;
    return -1;
  }

  // The last slot named propName, or -1 (every slot) when there is none or no name was given.
  int selectedSlot(int names) {
    int sel = -1;
    if (r_.propName.empty()) return sel;
    for (int j = 0; j < names; ++j)
      if (holder_tables::GetText(pb_, pb_propertyName, j) == r_.propName) sel = j;
    return sel;
  }

  const char* tableName(const ControllerTable& table) const { return table.name(r_.initial); }
  const char* objectTable() const { return r_.initial ? "IpropertyObject" : "propertyObject"; }

  // The stored controller of slot j exists when the table's entry for the pass is a list with a
  // sub-controller j that is not a "Null" placeholder.
  bool entryExists(const ControllerTable& table, int j) {
    const ParamID id = table.id(r_.initial);
    if (pb_->Count(id) < passSlot_ + 1) return false;
    ReferenceTarget* entry = pb_->GetReferenceTarget(id, t_, passSlot_);
    IListControl* list = entry ? GetIListControlInterface(entry) : nullptr;
    if (!list || list->GetListCount() < j + 1) return false;
    return !(list->GetName(j) == "Null");
  }

  void restoreSlot(int j) {
    const std::string name = holder_tables::GetText(pb_, pb_propertyName, j);
    if (name == "REMOVED") return;
    if (!IsPropertyPath(name)) {
      print(ComposeText(kRefusedPropertyName, {name, r_.node->GetName()}).c_str());
      return;
    }
    const std::string value(stateFields_[j]);
    if (name == "UserPropBuffer") {
      r_.node->SetUserPropBuffer(MSTR(value.c_str()));
      return;
    }
    if (value.empty()) return;
    Slot s{j, name, value, std::string(classFields_[j]), animFields_[j] == "1", r_.node->GetName()};
    switch (chain_) {
      case Chain::Light: lightChain(s); break;
      case Chain::Camera: cameraChain(s); break;
      case Chain::Geometry: geometryChain(s); break;
    }
  }

  struct Slot {
    int j;
    std::string name, value, cls;
    bool animated;
    std::string node;
  };

  void lightChain(const Slot& s) {
    if (s.name == "baseObject.castShadows") {
      if (literal(s, s.value)) runQuietly(restore_text::LightCastShadows(s.node, s.value));
      return;
    }
    if (objectValue(s, false)) return;
    if (!r_.initial && transform(s)) return;
    generic(s);
  }

  void cameraChain(const Slot& s) {
    if (objectValue(s, false)) return;
    if (!r_.initial && transform(s)) return;
    generic(s);
  }

  void geometryChain(const Slot& s) {
    if (s.name == "QZMMaterial") return material();
    if (nodeFlag(s)) return;
    if (s.name == "isActivated") {
      if (literal(s, s.value)) runQuietly(restore_text::Activate(s.node, s.value));
      return;
    }
    if (objectValue(s, true)) return;
    if (s.name == "visibility") return visibility(s);
    if (s.name == "imageMotionBlurMultiplier") return imageBlur(s);
    if (transform(s)) return;
    generic(s);
  }

  // The wire colour is a node setting in the initial record as well: given to the generic case, its
  // packed number would be assigned to a colour property, and the initial colour never came back.
  bool nodeFlag(const Slot& s) {
    for (const FlagSetter& row : kNodeFlags) {
      if (s.name != row.name) continue;
      row.set(r_.node, fieldInt(s.value));
      return true;
    }
    return false;
  }

  void material() {
    Mtl* mtl = r_.node->GetMtl();
    if (!mtl || mtl->ClassID() != QZMMATERIAL_CLASS_ID) return;
    IParamBlock2* mpb = mtl->GetParamBlock(kPassMaterialBlockIndex);
    if (!mpb) return;
    if (!r_.initial) {
      mpb->SetValue(pass_material::pb_whichPass, 0, r_.whereInList);
      return;
    }
    ReferenceTarget* before = mpb->Count(pass_material::pb_materialArray) > pass_material::kInitialSlot
                                  ? mpb->GetReferenceTarget(pass_material::pb_materialArray, 0, pass_material::kInitialSlot)
                                  : nullptr;
    r_.node->SetMtl(dynamic_cast<Mtl*>(before));
  }

  // An object value is assigned from the object table; its index (the class field) is written into
  // the texts, so anything but a plain number is not used.
  bool objectValue(const Slot& s, bool geometry) {
    if (s.value != "reftarg") return false;
    if (chain_ == Chain::Camera && !r_.initial) print(kCameraObject);
    if (!isIndex(s.cls)) return true;
    runQuietly(restore_text::ObjectAssign(s.node, s.name, holder_, objectTable(), s.cls));
    const std::string index = geometry && !r_.initial ? FormatInt(fieldInt(s.cls)) : s.cls;
    runQuietly(ObjectAddressText(holder_, objectTable(), index));
    return true;
  }

  // True when `text`, the value as it goes into the slot's texts, is a literal; otherwise the slot
  // is refused with a Listener line and nothing of it is restored.
  bool literal(const Slot& s, const std::string& text) {
    if (IsStoredLiteral(text)) return true;
    const std::string pass = r_.initial ? std::string("initial state") : "pass " + FormatInt(r_.whichPass);
    the_listener->edit_stream->puts(ComposeText(kRefusedValue, {s.name, s.node, pass}).c_str());
    return false;
  }

  void visibility(const Slot& s) {
    if (!s.animated) return runQuietly(restore_text::ResetVisibility(s.node));
    if (!entryExists(controller_tables::kFloat, s.j)) return;
    const char* table = tableName(controller_tables::kFloat);
    if (r_.initial) {
      runQuietly(restore_text::AssignControllerAsValue(s.node, s.name, holder_, table, passSlot_, s.j));
      runQuietly(restore_text::LinkController(s.node, s.name, holder_, table, passSlot_, s.j));
    } else {
      // The stored controller's own value is read and written back before it is linked.
      runQuietly(restore_text::ReadIntoTempVal(holder_, table, passSlot_, s.j));
      runQuietly(restore_text::WriteFromTempVal(holder_, table, passSlot_, s.j));
      runQuietly(restore_text::LinkVisibility(s.node, s.name, holder_, table, passSlot_, s.j));
    }
    runQuietly(ControllerAddressText(holder_, table, passSlot_, s.j));
  }

  void imageBlur(const Slot& s) {
    if (!s.animated) return runQuietly(restore_text::ResetImageBlur(s.node));
    if (!entryExists(controller_tables::kFloat, s.j)) return;
    runQuietly(restore_text::LinkImageBlur(s.node, holder_, tableName(controller_tables::kFloat), passSlot_, s.j));
    runQuietly(ControllerAddressText(holder_, tableName(controller_tables::kFloat), passSlot_, s.j));
  }

  bool transform(const Slot& s) {
    const ControllerTable* table = s.name == "position"   ? &controller_tables::kPos
                                   : s.name == "rotation" ? &controller_tables::kRot
                                   : s.name == "scale"    ? &controller_tables::kScale
                                                          : nullptr;
    if (!table) return false;
    if (!literal(s, s.value)) return true;
    if (s.animated) {
      if (!entryExists(*table, s.j)) return true;
      runQuietly(restore_text::LinkTransform(s.node, s.name, holder_, tableName(*table), passSlot_, s.j));
      runQuietly(restore_text::AssignTransform(s.node, s.name, s.value));
      runQuietly(ControllerAddressText(holder_, tableName(*table), passSlot_, s.j));
    } else {
      runQuietly(restore_text::ResetTransform(s.node, s.name));
      runQuietly(restore_text::AssignTransform(s.node, s.name, s.value));
    }
    return true;
  }

  void generic(const Slot& s) {
    // A string value is assigned as a literal: put into the text as it is, it would run as script.
    const std::string value = s.cls == "string" ? StringLiteral(s.value) : s.value;
    if (!literal(s, value)) return;
    const ClassControllers c = controllersOfClass(s.cls);
    if (s.animated) {
      if (c.table && entryExists(*c.table, s.j)) {
        runQuietly(restore_text::LinkProperty(s.node, s.name, holder_, tableName(*c.table), passSlot_, s.j));
        runQuietly(ControllerAddressText(holder_, tableName(*c.table), passSlot_, s.j));
      }
    } else if (c.fresh) {
      runQuietly(restore_text::ResetProperty(s.node, s.name, c.fresh));
    }
    runQuietly(restore_text::AssignProperty(s.node, s.name, value));
  }

  const RestoreRequest& r_;
  IParamBlock2* pb_;
  NodeAndBlockKeeper keeper_;
  TimeValue t_ = 0;
  int passSlot_ = 0;
  std::string state_, class_, anim_, holder_;
  RecordFields stateFields_, classFields_, animFields_;  // views into the three records above
  Chain chain_ = Chain::Geometry;
};

}  // namespace

void RunRestore(const RestoreRequest& request) {
  if (!request.node || !request.pblock) {
    // Even with nothing to restore the animate state is bracketed, as on every other way out.
    AnimateSuspended suspended;
    return;
  }
  Restore(request).run();
}
