// Script properties of controllers: `value` in the controller's own value type (colour
// controllers answer colours), and the list controller's `count` and
// `active` (1-based, as script counts).
#include "core/core_interface.h"
#include "maxscript/exceptions.h"
#include "scene/controllers/controllers.h"
#include "scene/scene_values.h"
#include "script/property_table.h"

namespace sim {
namespace {

Control* ctrl(ReferenceTarget* t) { return static_cast<Control*>(t); }
bool isColourCtrl(Control* c) {
  return c->ClassID() == Class_ID(HYBRIDINTERP_COLOR_CLASS_ID, 0) || c->SuperClassID() == CTRL_FRGBA_CLASS_ID;
}

Value* getValue(ReferenceTarget* t, TimeValue tv) {
  Control* c = ctrl(t);
  Interval valid = FOREVER;
  switch (ctrlValueOf(c->SuperClassID())) {
    case CtrlValue::Float: {
      float f = 0;
      c->GetValue(tv, &f, valid, CTRL_ABSOLUTE);
      return Float::intern(f);
    }
    case CtrlValue::Point3: {
      Point3 p;
      c->GetValue(tv, &p, valid, CTRL_ABSOLUTE);
      if (isColourCtrl(c)) return colorValue(Color(p));
      return new Point3Value(p);
    }
    case CtrlValue::Point4: {
      Point4 p;
      c->GetValue(tv, &p, valid, CTRL_ABSOLUTE);
      if (isColourCtrl(c)) return new ColorValue(AColor(p.x, p.y, p.z, p.w));
      return new Point4Value(p);
    }
    case CtrlValue::Quat: {
      Quat q;
      c->GetValue(tv, &q, valid, CTRL_ABSOLUTE);
      return quatValue(q);
    }
    case CtrlValue::Scale: {
      ScaleValue s;
      c->GetValue(tv, &s, valid, CTRL_ABSOLUTE);
      return new Point3Value(s.s);
    }
    case CtrlValue::Matrix: {
      Matrix3 m;
      c->GetValue(tv, &m, valid, CTRL_ABSOLUTE);
      return matrixValue(m);
    }
    default: return undefined;
  }
}

void setValue(ReferenceTarget* t, TimeValue tv, Value* v) {
  Control* c = ctrl(t);
  switch (ctrlValueOf(c->SuperClassID())) {
    case CtrlValue::Float: {
      float f = is_bool(v) ? (v->to_bool() ? 1.0f : 0.0f) : v->to_float();
      c->SetValue(tv, &f, 1, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Point3: {
      Point3 p = isColourCtrl(c) || is_kind(v, Color) ? Point3(toColor(v)) : v->to_point3();
      c->SetValue(tv, &p, 1, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Point4: {
      Point4 p;
      if (is_kind(v, Color)) {
        AColor a = static_cast<ColorValue*>(v)->color;
        p = Point4(a.r, a.g, a.b, a.a);
      } else if (is_kind(v, Point4Value)) {
        p = static_cast<Point4Value*>(v)->p;
      } else {
        throw ConversionError(v, "Point4");
      }
      c->SetValue(tv, &p, 1, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Quat: {
      Quat q = toQuat(v);
      c->SetValue(tv, &q, 1, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Scale: {
      ScaleValue s(v->to_point3());
      c->SetValue(tv, &s, 1, CTRL_ABSOLUTE);
      break;
    }
    case CtrlValue::Matrix: {
      Matrix3 m = toMatrix(v);
      c->SetValue(tv, &m, 1, CTRL_ABSOLUTE);
      break;
    }
    default: throw RuntimeError("Cannot set the value of this controller: ", v);
  }
}

bool isCtrl(ReferenceTarget* t) { return dynamic_cast<Control*>(t) != nullptr && ctrlValueOf(t->SuperClassID()) != CtrlValue::None; }

const bool controllerProps = addPropertyTable(
    PropertyScope{CTRL_FLOAT_CLASS_ID, Class_ID(0, 0), false, isCtrl},
    {
        {"value", getValue, setValue},
    });

ListControl* list(ReferenceTarget* t) { return dynamic_cast<ListControl*>(t); }

// Entries count from 1 in script; an index past the list is an error rather than a call that
// quietly does nothing.
int entryIndex(ListControl* l, Value* index) {
  int i = index->to_int();
  if (i < 1 || i > l->GetListCount()) throw RuntimeError("List index out of range: ", index);
  return i - 1;
}

const bool listProps = addPropertyTable(
    PropertyScope{CTRL_FLOAT_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return list(t) != nullptr; }},
    {
        {"count", [](ReferenceTarget* t, TimeValue) { return Integer::intern(list(t)->GetListCount()); }, nullptr},
        {"active", [](ReferenceTarget* t, TimeValue) { return Integer::intern(list(t)->GetActive() + 1); },
         [](ReferenceTarget* t, TimeValue, Value* v) { list(t)->SetActive(entryIndex(list(t), v)); }},
    });

}  // namespace
}  // namespace sim

namespace sim {
namespace {

// The list's own functions as script calls them on the list.
int listIndex(const char* fn, ListControl* l, Value** args, int count, int want = 1) {
  if (count < want) throw ArgCountError(fn, want, count);
  return entryIndex(l, args[0]);
}

Value* deleteEntry(ReferenceTarget* t, Value** args, int count) {
  list(t)->DeleteItem(listIndex("delete", list(t), args, count));
  return ok;
}

const bool listMethods = addMethodTable(
    PropertyScope{CTRL_FLOAT_CLASS_ID, Class_ID(0, 0), false, [](ReferenceTarget* t) { return list(t) != nullptr; }},
    {
        {"getCount", [](ReferenceTarget* t, Value**, int) { return Integer::intern(list(t)->GetListCount()); }},
        {"getName",
         [](ReferenceTarget* t, Value** args, int count) -> Value* {
           return new String(list(t)->GetName(listIndex("getName", list(t), args, count)).str());
         }},
        {"setName",
         [](ReferenceTarget* t, Value** args, int count) -> Value* {
           int i = listIndex("setName", list(t), args, count, 2);
           list(t)->SetName(i, MSTR(args[1]->to_string()));
           return ok;
         }},
        {"setActive",
         [](ReferenceTarget* t, Value** args, int count) -> Value* {
           list(t)->SetActive(listIndex("setActive", list(t), args, count));
           return ok;
         }},
        {"getActive", [](ReferenceTarget* t, Value**, int) { return Integer::intern(list(t)->GetActive() + 1); }},
        {"delete", deleteEntry},
        {"deleteItem", deleteEntry},
    });

}  // namespace
}  // namespace sim
