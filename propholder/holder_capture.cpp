#include "holder_capture.h"

#include "holder_controller_tables.h"
#include "holder_guards.h"
#include "holder_params.h"
#include "holder_scene.h"
#include "istdplug.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "property_catalogue.h"
#include "record_fields.h"
#include "script_text.h"
#include "stored_literal.h"

#include <cstdlib>
#include <string>

namespace {

constexpr const char* kInvalidPassMessage = "QZMMessage: Invalid Pass Index\n";
constexpr const char* kMaterialFlagScript = "QZMCaptureProps.doAddMaterial = true\n";
void runQuietly(const std::string& text) { ExecuteMAXScriptScript(text.c_str(), TRUE); }

void print(const std::string& text) { the_listener->edit_stream->puts(text.c_str()); }

// The table for a controller of `name`, or false when such a controller is not stored. Position,
// rotation and scale keep any controller they have.
bool chooseTable(const std::string& name, Control* c, ControllerTable& out) {
  using namespace controller_tables;
  if (name == "position") {
    // The node's own position goes to the position table, yet the list made for an empty entry is a
    // point3 list, not the position list of a position controller found under another name: holders
    // have always been made so, and stored scenes hold such lists.
    out = kPos;
    out.listSuperClass = kPoint3.listSuperClass;
    out.listClass = kPoint3.listClass;
    return true;
  }
  if (name == "rotation") return out = kRot, true;
  if (name == "scale") return out = kScale, true;
  switch (c->SuperClassID()) {
    case CTRL_POINT3_CLASS_ID: out = kPoint3; return true;
    case CTRL_FLOAT_CLASS_ID: out = kFloat; return true;
    case CTRL_POINT4_CLASS_ID:
    case CTRL_FRGBA_CLASS_ID:
      // A colour with alpha shares the point4 table; its list is made in its own super class.
      out = kPoint4;
      out.listSuperClass = c->SuperClassID();
      return true;
    case CTRL_POSITION_CLASS_ID: out = kPos; return true;
    case CTRL_ROTATION_CLASS_ID: out = kRot; return true;
    case CTRL_SCALE_CLASS_ID: out = kScale; return true;
    default: return false;
  }
}

// The decimal value of a class field, 0 when it is empty or not a number.
int fieldNumber(std::string_view field) {
  std::string text(field);
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || v < 0 || v > 0x7fffffff) return 0;
  return static_cast<int>(v);
}

class Capture {
 public:
  explicit Capture(const CaptureRequest& r) : r_(r), pb_(r.pblock) {}

  void run() {
    AnimateSuspended suspended;
    NodeAndBlockKeeper keeper(r_.node, pb_);
    const TimeValue t = GetCOREInterface()->GetTime();
    if (!r_.initial && r_.whichPass < kFirstPassNumber) {
      print(kInvalidPassMessage);
      return;
    }
    const int p = r_.initial ? 0 : findOrAppendPass();

    int topLevelEval = r_.topLevelEval;
    const NodeKind kind = KindOfSuperClass(ResolveNodeKind(r_.node, topLevelEval, r_.debug));
    addressHolder_ = AddressHolder(FindHolderNodeName(pb_));

    const ParamID stateTab = r_.initial ? pb_IpropertyState : pb_propertyState;
    const ParamID classTab = r_.initial ? pb_IpropertyClass : pb_propertyClass;
    const ParamID animTab = r_.initial ? pb_IpropertyIsAnimated : pb_propertyIsAnimated;
    std::string oldState, oldClass, oldAnim;
    if (p < pb_->Count(stateTab)) {
      oldState = holder_tables::GetText(pb_, stateTab, p);
      oldClass = holder_tables::GetText(pb_, classTab, p);
      oldAnim = holder_tables::GetText(pb_, animTab, p);
    }
    if (kind == NodeKind::Other) return;

    NodeTexts texts(r_.node->GetName());
    PropertyReading reading;
    std::string state, cls, anim;
    const int count = pb_->Count(pb_propertyName);
    for (int k = 0; k < count; ++k) {
      if (r_.doOnlyUncaptured == 1 && !RecordField(oldState, k).empty()) {
        AppendField(state, RecordField(oldState, k));
        AppendField(cls, RecordField(oldClass, k));
        AppendField(anim, RecordField(oldAnim, k));
        continue;
      }
      const std::string name = holder_tables::GetText(pb_, pb_propertyName, k);
      if (!IsPropertyPath(name)) {
        print(ComposeText(kRefusedPropertyName, {name, texts.name}));
        AppendField(state, "undefined");
        AppendField(cls, "undefined");
        AppendField(anim, "0");
        continue;
      }
      ReadProperty(r_.node, texts, name, kind, r_.initial, !r_.initial, reading);
      if (!keeper.alive()) return;
      if (reading.isMaterialSlot && newPass_ && !r_.initial) {
        runQuietly(kMaterialFlagScript);
        if (!keeper.alive()) return;
      }
      if (reading.object) storeObject(reading, kind, oldClass, k, texts.buffer);
      AppendField(state, reading.value);
      AppendField(cls, reading.classTag);
      const bool stored = reading.controller && storeController(name, reading.controller, p, k, t);
      AppendField(anim, stored ? "1" : "0");
      if (stored) {
        ControllerAddressInto(texts.buffer, addressHolder_, tableName_, p, k);
        runQuietly(texts.buffer);
      }
      if (!keeper.alive()) return;
    }
    holder_tables::GrowTo(pb_, stateTab, p + 1);
    holder_tables::GrowTo(pb_, classTab, p + 1);
    holder_tables::GrowTo(pb_, animTab, p + 1);
    holder_tables::SetText(pb_, stateTab, p, state);
    holder_tables::SetText(pb_, classTab, p, cls);
    holder_tables::SetText(pb_, animTab, p, anim);
  }

 private:
  int findOrAppendPass() {
    const int n = pb_->Count(pb_passlist);
    for (int i = 0; i < n; ++i)
      if (pb_->GetInt(pb_passlist, 0, i) == r_.whichPass) return i;
    int pass = r_.whichPass;
    pb_->Append(pb_passlist, 1, &pass);
    newPass_ = true;
    return pb_->Count(pb_passlist) - 1;
  }

  // Puts `c` into sub-controller k of the list at entry p of its table, filling the slots below k
  // that the list does not have yet with the same controller, named "Null". A list made here is
  // filled before it is stored, while nothing hears of its changes. False when the controller is
  // not of a kind that is stored, or the list would not take it.
  bool storeController(const std::string& name, Control* c, int p, int k, TimeValue t) {
    ControllerTable table;
    if (!chooseTable(name, c, table)) return false;
    const ParamID id = table.id(r_.initial);
    tableName_ = table.name(r_.initial);
    holder_tables::GrowTo(pb_, id, p + 1);
    if (ReferenceTarget* entry = pb_->GetReferenceTarget(id, t, p)) return fill(entry, c, k);
    auto* made = static_cast<ReferenceTarget*>(
        GetCOREInterface()->CreateInstance(table.listSuperClass, Class_ID(table.listClass, 0)));
    if (!made) return false;
    // A list that refuses the controller is still stored, empty, as one made for the entry first.
    const bool filled = fill(made, c, k);
    if (!pb_->SetValue(id, 0, made, p)) {
      made->MaybeAutoDelete();
      return false;
    }
    return filled;
  }

  static bool fill(ReferenceTarget* entry, Control* c, int k) {
    auto* list = dynamic_cast<Control*>(entry);
    IListControl* lc = list ? GetIListControlInterface(list) : nullptr;
    return lc && lc->AssignPadded(c, k, "Null", "Captured");
  }

  // Stores an object value in the object table, reusing the slot that the old class field of this
  // property names, and writes its index as the class field.
  void storeObject(PropertyReading& reading, NodeKind kind, const std::string& oldClass, int k, std::string& text) {
    const ParamID objTab = r_.initial ? pb_IpropertyObject : pb_propertyObject;
    const ParamID classTab = r_.initial ? pb_IpropertyClass : pb_propertyClass;
    const bool hasClassRecords = pb_->Count(classTab) > 0;
    const bool lines = !r_.initial && kind == NodeKind::Geometry;
    int index = 0;  // 1-based
    if (hasClassRecords) {
      if (lines) print(std::string(RecordField(oldClass, k)) + " - this one\n");
      index = fieldNumber(RecordField(oldClass, k));
    } else if (lines && reading.isTexmap) {
      print("texmap value detected\n");
    }
    // An index outside the table (a record edited by hand) takes a new slot rather than growing
    // the table to whatever the field says.
    if (index < 1 || index > pb_->Count(objTab)) {
      ReferenceTarget* obj = reading.object;
      pb_->Append(objTab, 1, &obj);
      index = pb_->Count(objTab);
    } else {
      pb_->SetValue(objTab, 0, reading.object, index - 1);
    }
    reading.value = "reftarg";
    reading.classTag = FormatInt(index);
    ObjectAddressInto(text, addressHolder_, r_.initial ? "IpropertyObject" : "propertyObject", FormatInt(index));
    runQuietly(text);
  }

  const CaptureRequest& r_;
  IParamBlock2* pb_;
  bool newPass_ = false;
  std::string addressHolder_;  // the holder node's name as the address texts carry it
  std::string tableName_;
};

}  // namespace

void RunCapture(const CaptureRequest& request) {
  if (!request.node || !request.pblock) return;
  Capture(request).run();
}
