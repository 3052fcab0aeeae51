#include "script/fp_conversion.h"

#include "inode.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/property_table.h"
#include "script/scene_access.h"

namespace sim::rt {
namespace {

// Materials, maps, controllers and objects are reference targets first in their class layout, so
// their pointers are the target's.
ReferenceTarget* refOf(const FPValue& v) { return static_cast<ReferenceTarget*>(v.ptr); }

Value* fromTable(const FPValue& v) {
  auto* a = new Array;
  int base = base_type(v.type);
  auto addEach = [&](auto* tab, auto conv) {
    if (!tab) return;
    for (int i = 0; i < tab->Count(); ++i) a->append(conv((*tab)[i]));
  };
  switch (base) {
    case TYPE_INT: addEach(v.i_tab, [](int x) { return Integer::intern(x); }); break;
    case TYPE_BOOL: addEach(v.i_tab, [](int x) { return bool_result(x != 0); }); break;
    case TYPE_FLOAT: addEach(v.f_tab, [](float x) { return Float::intern(x); }); break;
    case TYPE_STRING: addEach(v.s_tab, [](const TCHAR* x) { return x ? static_cast<Value*>(new String(x)) : undefined; }); break;
    case TYPE_POINT3: addEach(v.p_tab, [](Point3* x) { return x ? static_cast<Value*>(new Point3Value(*x)) : undefined; }); break;
    case TYPE_INODE: addEach(v.n_tab, [](INode* x) { return wrapTarget(x); }); break;
    case TYPE_REFTARG:
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_CONTROL: addEach(v.r_tab, [](ReferenceTarget* x) { return wrapTarget(x); }); break;
    case TYPE_VALUE: addEach(v.v_tab, [](Value* x) { return x ? x : undefined; }); break;
    default: break;
  }
  return a;
}

}  // namespace

Value* fromFPValue(const FPValue& v) {
  int type = root_type(v.type);
  if (is_tab(type)) return fromTable(v);
  switch (type) {
    case TYPE_VOID: return ok;
    case TYPE_INT:
    case TYPE_INDEX:
    case TYPE_RADIOBTN_INDEX:
    case TYPE_ENUM: return Integer::intern(v.i);
    case TYPE_DWORD: return Integer::intern(static_cast<int>(v.d));
    case TYPE_BOOL: return bool_result(v.i != 0);
    case TYPE_bool: return bool_result(v.b);
    case TYPE_FLOAT:
    case TYPE_WORLD:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC:
    case TYPE_COLOR_CHANNEL: return Float::intern(v.f);
    case TYPE_DOUBLE: return Float::intern(static_cast<float>(v.dbl));
    case TYPE_TIMEVALUE: return MSTime::intern(v.t);
    case TYPE_STRING:
    case TYPE_FILENAME: return v.s ? static_cast<Value*>(new String(v.s)) : undefined;
    case TYPE_TSTR: return v.tstr ? static_cast<Value*>(new String(v.tstr->data())) : undefined;
    case TYPE_POINT2: return v.p2 ? static_cast<Value*>(new Point2Value(*v.p2)) : undefined;
    case TYPE_POINT3: return v.p ? static_cast<Value*>(new Point3Value(*v.p)) : undefined;
    case TYPE_POINT4: return v.p4 ? static_cast<Value*>(new Point4Value(*v.p4)) : undefined;
    case TYPE_RGBA:
    case TYPE_COLOR: return v.clr ? static_cast<Value*>(new ColorValue(AColor(*v.clr))) : undefined;
    case TYPE_FRGBA: return v.aclr ? static_cast<Value*>(new ColorValue(*v.aclr)) : undefined;
    case TYPE_QUAT: return v.q ? static_cast<Value*>(new QuatValue(*v.q)) : undefined;
    case TYPE_MATRIX3: return v.m ? static_cast<Value*>(new Matrix3Value(*v.m)) : undefined;
    case TYPE_INODE: return wrapTarget(v.n);
    case TYPE_REFTARG:
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_CONTROL:
    case TYPE_OBJECT: return wrapTarget(refOf(v));
    case TYPE_VALUE: return v.v ? v.v : undefined;
    case TYPE_NAME: return v.s ? Name::intern(v.s) : undefined;
    default: return undefined;
  }
}

void toFPValue(Value* v, int type, FPValue& out) {
  int root = root_type(type);
  if (is_tab(root)) {
    Array* items = is_array(v) ? static_cast<Array*>(v) : v->as_collection();
    if (!items) throw ConversionError(v, "Array");
    ValueRef hold(items);
    switch (base_type(root)) {
      case TYPE_INT:
      case TYPE_BOOL: {
        Tab<int> t;
        for (int i = 0; i < items->size; ++i) {
          int x = is_bool(items->data[i]) ? items->data[i]->to_bool() : items->data[i]->to_int();
          t.Append(1, &x);
        }
        out.Load(type, t);
        return;
      }
      case TYPE_FLOAT: {
        Tab<float> t;
        for (int i = 0; i < items->size; ++i) {
          float x = items->data[i]->to_float();
          t.Append(1, &x);
        }
        out.Load(type, t);
        return;
      }
      case TYPE_STRING: {
        Tab<const TCHAR*> t;
        for (int i = 0; i < items->size; ++i) {
          const TCHAR* x = items->data[i]->to_string();
          t.Append(1, &x);
        }
        out.Load(type, t);  // FPValue copies the texts it is loaded with
        return;
      }
      case TYPE_INODE: {
        Tab<INode*> t;
        for (int i = 0; i < items->size; ++i) {
          INode* x = items->data[i]->to_node();
          t.Append(1, &x);
        }
        out.Load(type, t);
        return;
      }
      default: {
        Tab<ReferenceTarget*> t;
        for (int i = 0; i < items->size; ++i) {
          ReferenceTarget* x = items->data[i] == undefined ? nullptr : items->data[i]->to_reftarg();
          t.Append(1, &x);
        }
        out.Load(type, t);
        return;
      }
    }
  }
  switch (root) {
    case TYPE_INT:
    case TYPE_INDEX:
    case TYPE_RADIOBTN_INDEX:
    case TYPE_ENUM: out.Load(type, v->to_int()); return;
    case TYPE_DWORD: out.Load(type, static_cast<DWORD>(v->to_int())); return;
    case TYPE_BOOL: out.Load(type, static_cast<int>(is_bool(v) ? v->to_bool() : v->to_int() != 0)); return;
    case TYPE_bool: out.Load(type, static_cast<bool>(v->to_bool())); return;
    case TYPE_FLOAT:
    case TYPE_WORLD:
    case TYPE_ANGLE:
    case TYPE_PCNT_FRAC:
    case TYPE_COLOR_CHANNEL: out.Load(type, v->to_float()); return;
    case TYPE_DOUBLE: out.Load(type, v->to_double()); return;
    case TYPE_TIMEVALUE: out.Load(type, static_cast<int>(v->to_timevalue())); return;
    case TYPE_STRING:
    case TYPE_FILENAME:
    case TYPE_TSTR: out.Load(type, v->to_string()); return;
    case TYPE_NAME: out.Load(type, v->to_string()); return;
    case TYPE_POINT2: out.Load(type, v->to_point2()); return;
    case TYPE_POINT3: out.Load(type, v->to_point3()); return;
    case TYPE_RGBA:
    case TYPE_COLOR: {
      auto* c = dynamic_cast<ColorValue*>(v);
      if (!c) throw ConversionError(v, "Color");
      out.Load(type, Color(c->color.r, c->color.g, c->color.b));
      return;
    }
    case TYPE_FRGBA: {
      auto* c = dynamic_cast<ColorValue*>(v);
      if (!c) throw ConversionError(v, "Color");
      out.Load(type, c->color);
      return;
    }
    case TYPE_QUAT: {
      auto* q = dynamic_cast<QuatValue*>(v);
      if (!q) throw ConversionError(v, "Quat");
      out.Load(type, q->q);
      return;
    }
    case TYPE_INODE: out.Load(type, v == undefined ? static_cast<INode*>(nullptr) : v->to_node()); return;
    case TYPE_REFTARG:
    case TYPE_MTL:
    case TYPE_TEXMAP:
    case TYPE_CONTROL:
    case TYPE_OBJECT: {
      ReferenceTarget* r = v == undefined ? nullptr : v->to_reftarg();
      out.Load(TYPE_REFTARG, r);
      out.type = static_cast<ParamType2>(type);
      return;
    }
    case TYPE_VALUE: out.Load(type, v); return;
    default: throw ConversionError(v, "FPValue");
  }
}

void resultToFPValue(Value* v, FPValue& out) {
  if (!v || v == undefined) {
    out.Load(TYPE_VALUE, undefined);
    return;
  }
  if (is_bool(v)) out.Load(TYPE_BOOL, static_cast<int>(v->to_bool()));
  else if (is_integer(v)) out.Load(TYPE_INT, v->to_int());
  else if (is_float(v)) out.Load(TYPE_FLOAT, v->to_float());
  else if (is_string(v)) out.Load(TYPE_STRING, v->to_string());
  else if (is_name(v)) out.Load(TYPE_NAME, v->to_string());
  else if (is_point3(v)) out.Load(TYPE_POINT3, v->to_point3());
  else if (is_point2(v)) out.Load(TYPE_POINT2, v->to_point2());
  else if (auto* p4 = dynamic_cast<Point4Value*>(v)) out.Load(TYPE_POINT4, p4->p);
  else if (auto* q = dynamic_cast<QuatValue*>(v)) out.Load(TYPE_QUAT, q->q);
  else if (auto* c = dynamic_cast<ColorValue*>(v)) {
    // A colour with alpha answers as such; a plain one as a colour.
    if (c->color.a != 1.0f) out.Load(TYPE_FRGBA, c->color);
    else out.Load(TYPE_COLOR, Color(c->color.r, c->color.g, c->color.b));
  } else if (auto* t = dynamic_cast<MSTime*>(v)) out.Load(TYPE_TIMEVALUE, static_cast<int>(t->time));
  else if (auto* w = dynamic_cast<MAXWrapper*>(v); w && w->target()) {
    ReferenceTarget* r = w->target();
    out.Load(TYPE_REFTARG, r);
    if (r->SuperClassID() == BASENODE_CLASS_ID) out.type = TYPE_INODE;
    else if (r->SuperClassID() == MATERIAL_CLASS_ID) out.type = TYPE_MTL;
    else if (r->SuperClassID() == TEXMAP_CLASS_ID) out.type = TYPE_TEXMAP;
    else if (isController(r)) out.type = TYPE_CONTROL;
  } else {
    // Only values that never go away may leave the runtime as raw pointers.
    out.Load(TYPE_VALUE, v->is_permanent() ? v : undefined);
  }
}

}  // namespace sim::rt
