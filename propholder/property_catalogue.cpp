#include "property_catalogue.h"

#include "color.h"
#include "ifnpub.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "quat.h"
#include "script_text.h"

#include <cstdint>

namespace {

// ---- the texts the catalogue runs ----------------------------------------------------------------

constexpr const char* kIsActivatedScript = "at time 0 $'%s'.'%s'.isactivated()\n";
constexpr const char* kLightCastShadowsScript = "at time 0 $'%s'.baseobject.castshadows\n";
constexpr const char* kGenericValueScript =
    "try(at time 0 if isproperty $'%s' #%s then $'%s'.%s else undefined)catch(execute \"at time 0 $'%s'.%s\")\n";
constexpr const char* kVisControllerScript = "at time 0 getviscontroller $'%s'\n";
constexpr const char* kImageBlurControllerScript = "at time 0 GetImageBlurMultController $'%s'\n";
constexpr const char* kTransformControllerScript = "$'%s'.%s.controller\n";
constexpr const char* kPropertyControllerScript = "getpropertycontroller $'%s' #%s\n";

// Runs `text` with errors suppressed; `result` is left empty (TYPE_VOID) when it fails.
void runScript(const std::string& text, FPValue& result) {
  result.Free();
  if (!ExecuteMAXScriptScript(text.c_str(), TRUE, &result)) result.Free();
}

bool isOne(const FPValue& v) {
  switch (v.type) {
    case TYPE_BOOL:
    case TYPE_INT: return v.i == 1;
    case TYPE_bool: return v.b;
    default: return false;
  }
}

// ---- node flags ----------------------------------------------------------------------------------

struct FlagRow {
  const char* name;
  int (*read)(INode*);
};

constexpr FlagRow kNodeFlags[] = {
    {"renderable", [](INode* n) { return n->Renderable(); }},
    {"primaryVisibility", [](INode* n) { return static_cast<int>(n->GetPrimaryVisibility()); }},
    {"secondaryVisibility", [](INode* n) { return static_cast<int>(n->GetSecondaryVisibility()); }},
    {"inheritVisibility", [](INode* n) { return n->GetInheritVisibility(); }},
    {"receiveshadows", [](INode* n) { return n->RcvShadows(); }},
    {"castShadows", [](INode* n) { return n->CastShadows(); }},
    {"applyatmospherics", [](INode* n) { return n->ApplyAtmospherics(); }},
    {"renderOccluded", [](INode* n) { return n->GetRenderOccluded(); }},
    {"motionBlurOn", [](INode* n) { return static_cast<int>(n->GetMotBlurOnOff(GetCOREInterface()->GetTime())); }},
    {"isfrozen", [](INode* n) { return n->IsFrozen(); }},
    {"xray", [](INode* n) { return n->HasObjXRayMtl(); }},
    {"showTrajectory", [](INode* n) { return n->GetTrajectoryON(); }},
    {"backfacecull", [](INode* n) { return n->GetBackCull(); }},
    // The node keeps the opposite setting: frozen nodes show their material.
    {"showFrozenInGray", [](INode* n) { return n->ShowFrozenWithMtl() ? 0 : 1; }},
    {"generateCaustics", [](INode* n) { return n->GetGenerateCaustics(); }},
    {"generateGlobalIllum", [](INode* n) { return n->GetGenerateGlobalIllum(); }},
    {"boxmode", [](INode* n) { return n->GetBoxMode(); }},
};

// Flags read as 0 or 1 whatever non-zero value the node answers.
std::string flagText(int v) { return v ? "1" : "0"; }

std::string userPropBuffer(INode* node) {
  MSTR buf;
  node->GetUserPropBuffer(buf);
  return buf.str();
}

// ---- generic properties --------------------------------------------------------------------------

std::string f(double v) { return FormatFloat(v); }

// The value-type table: value text and class tag of a script result.
void convertValue(const FPValue& v, NodeKind kind, PropertyReading& out) {
  out.value = "undefined";
  out.classTag = "undefined";
  switch (static_cast<int>(v.type)) {
    case TYPE_BOOL:
    case TYPE_bool:
      out.value = isOne(v) ? "true" : "false";
      out.classTag = "bool";
      return;
    case TYPE_FLOAT:
      out.value = f(v.f);
      out.classTag = "float";
      return;
    case TYPE_INT:
      out.value = FormatInt(v.i);
      out.classTag = "int";
      return;
    case TYPE_COLOR:
    case TYPE_COLOR | TYPE_BY_VAL:
      if (!v.clr) return;
      // A colour passed by value is only taken on lights.
      if (v.type != TYPE_COLOR && kind != NodeKind::Light) return;
      ComposeTextInto(out.value, "(color %f %f %f)", {f(v.clr->r * 255.0f), f(v.clr->g * 255.0f), f(v.clr->b * 255.0f)});
      out.classTag = "color";
      return;
    case TYPE_FRGBA:
      if (!v.aclr) return;
      ComposeTextInto(out.value, "(color %f %f %f %f)", {f(v.aclr->r * 255.0f), f(v.aclr->g * 255.0f),
                                                       f(v.aclr->b * 255.0f), f(v.aclr->a * 255.0f)});
      out.classTag = "rgba";
      return;
    case TYPE_POINT3:
      if (!v.p) return;
      ComposeTextInto(out.value, "[%f,%f,%f]", {f(v.p->x), f(v.p->y), f(v.p->z)});
      out.classTag = "point3";
      return;
    case TYPE_POINT4:
      if (!v.p4) return;
      ComposeTextInto(out.value, "[%f,%f,%f,%f]", {f(v.p4->x), f(v.p4->y), f(v.p4->z), f(v.p4->w)});
      out.classTag = "point4";
      return;
    case TYPE_STRING:
      out.value = v.s ? v.s : "";
      out.classTag = "string";
      return;
    // Materials and nodes are reference targets like any other: a material-valued property keeps
    // the material itself, so that restoring it puts that material back.
    case TYPE_REFTARG:
    case TYPE_TEXMAP:
    case TYPE_MTL:
    case TYPE_INODE:
      if (!v.r) return;
      out.value = "reftarg";
      out.object = v.r;
      out.isTexmap = v.type == TYPE_TEXMAP;
      return;
    default: return;
  }
}

// position, rotation and scale have texts of their own. A value of another type (the script
// failed, or the property is something else on this node) is stored as undefined.
bool transformValue(const std::string& name, const FPValue& v, bool initial, PropertyReading& out) {
  if (name == "position") {
    if (v.type == TYPE_POINT3 && v.p) {
      ComposeTextInto(out.value, "[%f,%f,%f]", {f(v.p->x), f(v.p->y), f(v.p->z)});
      out.classTag = "point3";
    }
    return true;
  }
  if (name == "rotation") {
    if (v.type == TYPE_QUAT && v.q) {
      ComposeTextInto(out.value, "(quat %f %f %f %f)", {f(v.q->x), f(v.q->y), f(v.q->z), f(v.q->w)});
      out.classTag = "quat";
    }
    return true;
  }
  if (name == "scale") {
    if (v.type == TYPE_POINT3 && v.p) {
      ComposeTextInto(out.value, "([%f, %f, %f])", {f(v.p->x), f(v.p->y), f(v.p->z)});
      // The per-pass record has always tagged scale this way; restore relies on the tag only to
      // choose a controller table, which scale does not use.
      out.classTag = initial ? "Point3" : "quat";
    }
    return true;
  }
  return false;
}

void readGeneric(NodeTexts& texts, const std::string& name, NodeKind kind, bool initial, PropertyReading& out) {
  const std::string& t = texts.path;
  std::string& text = texts.buffer;
  FPValue value;
  ComposeTextInto(text, kGenericValueScript, {t, name, t, name, texts.pathLiteral, InLiteral(name)});
  runScript(text, value);

  if (kind == NodeKind::Geometry && name == "visibility") ComposeTextInto(text, kVisControllerScript, {t});
  else if (kind == NodeKind::Geometry && name == "imageMotionBlurMultiplier")
    ComposeTextInto(text, kImageBlurControllerScript, {t});
  else if (name == "position" || name == "rotation" || name == "scale")
    ComposeTextInto(text, kTransformControllerScript, {t, name});
  else ComposeTextInto(text, kPropertyControllerScript, {t, name});
  FPValue controller;
  runScript(text, controller);
  if (controller.type == TYPE_CONTROL && controller.ctrl) out.controller = controller.ctrl;

  out.value = "undefined";
  out.classTag = "undefined";
  if (!transformValue(name, value, initial, out)) convertValue(value, kind, out);
}

}  // namespace

NodeKind KindOfSuperClass(SClass_ID sclass) {
  switch (sclass) {
    case GEOMOBJECT_CLASS_ID:
    case SHAPE_CLASS_ID:
    case HELPER_CLASS_ID: return NodeKind::Geometry;
    case LIGHT_CLASS_ID: return NodeKind::Light;
    case CAMERA_CLASS_ID: return NodeKind::Camera;
    default: return NodeKind::Other;
  }
}

NodeTexts::NodeTexts(std::string nodeName) : name(std::move(nodeName)), path(PathName(name)), pathLiteral(InLiteral(path)) {}

void ReadProperty(INode* node, NodeTexts& texts, const std::string& name, NodeKind kind, bool initial,
                  bool listenerLines, PropertyReading& out) {
  out.value.clear();
  out.classTag.clear();
  out.controller = nullptr;
  out.object = nullptr;
  out.isTexmap = false;
  out.isMaterialSlot = false;
  if (name == "UserPropBuffer" && kind != NodeKind::Other) {
    out.value = userPropBuffer(node);
    out.classTag = "string";
    return;
  }
  if (kind == NodeKind::Light && name == "baseObject.castShadows") {
    FPValue v;
    ComposeTextInto(texts.buffer, kLightCastShadowsScript, {texts.path});
    runScript(texts.buffer, v);
    out.value = isOne(v) ? "true" : "false";
    out.classTag = "bool";
    return;
  }
  if (kind == NodeKind::Geometry) {
    if (name == "QZMMaterial") {
      out.value = "QZMMaterial";
      out.classTag = "material";
      out.isMaterialSlot = true;
      return;
    }
    for (const FlagRow& row : kNodeFlags) {
      if (name != row.name) continue;
      out.value = flagText(row.read(node));
      out.classTag = "bool";
      return;
    }
    if (name == "motionblur") {
      out.value = FormatInt(node->MotBlur());
      out.classTag = "Name";
      return;
    }
    if (name == "wirecolor") {
      // The packed colour word read as a signed integer, as the pass manager's scripts expect.
      out.value = FormatInt(static_cast<int>(static_cast<std::uint32_t>(node->GetWireColor())));
      out.classTag = "Name";
      return;
    }
    if (name == "isActivated") {
      if (listenerLines) the_listener->edit_stream->puts("is activated to be captured\n");
      FPValue v;
      ComposeTextInto(texts.buffer, kIsActivatedScript,
                      {PathName(SplitArrow(texts.name, 0)), QuotedName(SplitArrow(texts.name, 1))});
      runScript(texts.buffer, v);
      out.value = isOne(v) ? "true" : "false";
      out.classTag = "bool";
      return;
    }
  }
  readGeneric(texts, name, kind, initial, out);
}
