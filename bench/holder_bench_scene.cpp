#include "holder_bench_scene.h"

#include "maxscript/maxscript.h"
#include "restore_texts.h"
#include "script_text.h"

#include <sstream>

namespace bench {

const char* const kHolderProperties =
    "#(\"renderable\", \"castShadows\", \"receiveshadows\", \"primaryVisibility\", \"secondaryVisibility\", "
    "\"boxmode\", \"xray\", \"wirecolor\", \"UserPropBuffer\", \"position\", \"rotation\", \"scale\", \"height\", "
    "\"width\", \"length\", \"lengthsegs\", \"widthsegs\", \"material.diffuse\", \"material.ambient\", "
    "\"material.name\")";

bool BuildHolderScene(int n) {
  if (!ExecuteMAXScriptScript("resetMaxFile #noPrompt", FALSE)) return false;
  std::ostringstream build;
  build << "global QZMIDA = #()\n"
        << "for i = 1 to " << n << " do (\n"
        << "  local b = box name:(\"Box\" + i as string) pos:[i, 0, 0]\n"
        << "  b.material = standardMaterial name:(\"Mat\" + i as string)\n"
        << "  setUserPropBuffer b \"pass = beauty\"\n"
        << "  if mod i 4 == 0 do with animate on at time 10 b.height = 50\n"
        << "  local h = QZMPropHolder(); h.node = b; h.propertyName = " << kHolderProperties << "\n"
        << ")\n";
  return ExecuteMAXScriptScript(build.str().c_str(), FALSE) != FALSE;
}

std::string CaptureAllText(int pass) {
  return "$QZMPropHolder01.CaptureAllProperties " + std::to_string(pass) + " 0";
}

std::string RestoreAllText(int pass) {
  return "$QZMPropHolder01.RestoreAllProperties " + std::to_string(pass) + " 3";
}

namespace {

std::string numbered(const char* prefix, int i) { return std::string(prefix).append(std::to_string(i)); }
std::string boxName(int i) { return numbered("Box", i); }
std::string num(double v) { return FormatFloat(v); }

// The values the assigning kinds write into box i.
std::string heightValue(int i) { return num(i % 50 + 0.5); }
std::string diffuseArgs(int i, const char* sep) { return num(i % 256) + sep + num(20) + sep + num(30); }
std::string positionArgs(int i) { return num(i) + "," + num(-i * 0.5) + "," + num(0); }
std::string addressEntry(int i) { return "$'" + numbered("QZMPropHolder", i) + "'.propertyFloatController[3][" + std::to_string(i % 20 + 1) + "]"; }

std::string hostRead(int i, const char* name) {
  const std::string node = boxName(i);
  return ComposeText(
      "try(at time 0 if isproperty $'%s' #%s then $'%s'.%s else undefined)catch(execute \"at time 0 $'%s'.%s\")\n",
      {node, name, node, name, InLiteral(node), InLiteral(name)});
}

// Lua's form of the guarded read and assignment: the test in a protected call, and on an error the
// same steps compiled from a string, as the catch branch executes its text. `probe` is what the
// test asks about: a quoted name, or for a dotted property the dotted path itself, which fails as
// ours does (#material.diffuse asks a name for a property; here `material` is an undefined global).
std::string luaProbe(const char* name) {
  const std::string n(name);
  return n.find('.') == std::string::npos ? "\"" + n + "\"" : n;
}

std::string luaRead(int i, const char* name) {
  const std::string node = boxName(i);
  return "local ok, v = pcall(function() local o = nodes[\"" + node + "\"] if isproperty(o, " + luaProbe(name) +
         ") then return o." + name + " else return nil end end)\n" + "if not ok then v = load(\"return nodes['" + node +
         "']." + name + "\")() end\nreturn v\n";
}

std::string luaAssign(int i, const char* name, const std::string& value) {
  const std::string node = boxName(i);
  return "local ok = pcall(function() local o = nodes[\"" + node + "\"] if isproperty(o, " + luaProbe(name) +
         ") then o." + name + " = " + value + " end end)\n" + "if not ok then load(\"nodes['" + node + "']." + name +
         " = " + value + "\")() end\n";
}

const std::vector<TextKind> kTextKinds = {
    {"read value", [](int i) { return hostRead(i, "height"); }, [](int i) { return luaRead(i, "height"); }},
    {"read dotted value", [](int i) { return hostRead(i, "material.diffuse"); },
     [](int i) { return luaRead(i, "material.diffuse"); }},
    {"read controller",
     [](int i) { return ComposeText("getpropertycontroller $'%s' #%s\n", {boxName(i), "height"}); },
     [](int i) { return "return getpropertycontroller(nodes[\"" + boxName(i) + "\"], \"height\")\n"; }},
    {"read transform controller",
     [](int i) { return ComposeText("$'%s'.%s.controller\n", {boxName(i), "position"}); },
     [](int i) { return "return nodes[\"" + boxName(i) + "\"].controllers.position\n"; }},
    {"assign value", [](int i) { return restore_text::AssignProperty(boxName(i), "height", heightValue(i)); },
     [](int i) { return luaAssign(i, "height", heightValue(i)); }},
    {"assign dotted value",
     [](int i) {
       return restore_text::AssignProperty(boxName(i), "material.diffuse", "(color " + diffuseArgs(i, " ") + ")");
     },
     [](int i) { return luaAssign(i, "material.diffuse", "color(" + diffuseArgs(i, ", ") + ")"); }},
    {"assign transform",
     [](int i) { return restore_text::AssignTransform(boxName(i), "position", ComposeText("[%s]", {positionArgs(i)})); },
     [](int i) { return "nodes[\"" + boxName(i) + "\"].position = point3(" + positionArgs(i) + ")\n"; }},
    {"record address",
     [](int i) { return ControllerAddressText(numbered("QZMPropHolder", i), "propertyFloatController", 2, i % 20); },
     [](int i) {
       return "if QZMIDA == nil then QZMIDA = {} end\nQZMIDA[#QZMIDA + 1] = {\"" + addressEntry(i) + "\"}\n";
     }},
};

}  // namespace

const std::vector<TextKind>& TextKinds() { return kTextKinds; }

std::string LuaStandInText(int n) {
  return "function color(r, g, b) return {r = r, g = g, b = b} end\n"
         "function point3(x, y, z) return {x = x, y = y, z = z} end\n"
         "function isproperty(o, name) return o[name] ~= nil end\n"
         "function getpropertycontroller(o, name) return o.controllers[name] end\n"
         "QZMIDA = {}\n"
         "nodes = {}\n"
         "for i = 1, " + std::to_string(n) + " do\n"
         "  local animated = i % 4 == 0\n"
         "  nodes[\"Box\" .. i] = {\n"
         "    renderable = true, castShadows = true, receiveshadows = true, primaryVisibility = true,\n"
         "    secondaryVisibility = true, boxmode = false, xray = false, wirecolor = color(0, 0, 0),\n"
         "    UserPropBuffer = \"pass = beauty\", position = point3(i, 0, 0), rotation = {x = 0, y = 0, z = 0, w = 1},\n"
         "    scale = point3(1, 1, 1), height = 25, width = 25, length = 25, lengthsegs = 1, widthsegs = 1,\n"
         "    material = {diffuse = color(149.94, 149.94, 149.94), ambient = color(149.94, 149.94, 149.94),\n"
         "                name = \"Mat\" .. i},\n"
         "    controllers = {height = animated and {class = \"bezier_float\", keys = {{0, 25}, {10, 50}}} or nil,\n"
         "                   position = {class = \"Position_XYZ\"}, rotation = {class = \"Euler_XYZ\"},\n"
         "                   scale = {class = \"Bezier_Scale\"}},\n"
         "  }\n"
         "end\n";
}

}  // namespace bench
