// A whole-scene pass switch: N boxes, each with a holder of 20 properties (node flags, wire colour,
// user properties, transforms, generic floats, integers, colours and a string, the height animated
// on every fourth box), five passes captured. Timed: CaptureAllProperties of one pass and
// RestoreAllProperties of one pass, in total and per holder. Baseline in the same run: reading and
// writing the same values through direct C++ calls, without script. Then the kinds of text the
// holder runs, each run once per box with that box's name and values, per text.
//
// Under callgrind each timed part is one dump of its own, named after it (capture, restore,
// text <kind>); bench/holder_callgrind.sh turns them into instructions per holder and per text.
// QZM_SCRIPT_SHAPE_CACHE=0 runs it with every text parsed anew.
//
//   holder_bench [N...] (default: 1000 10000)
#include "core/host_session.h"
#include "inode.h"
#include "iparamb2.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "restore_texts.h"
#include "scene/materials/stdmat.h"
#include "script/shape_cache.h"
#include "script_text.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define QZM_BENCH_CALLGRIND 1
#endif

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A timed part: under callgrind its instructions are counted from zero and dumped under `name`.
struct Section {
  explicit Section(const char* n) : name(n) {
#ifdef QZM_BENCH_CALLGRIND
    CALLGRIND_ZERO_STATS;
#endif
  }
  ~Section() {
#ifdef QZM_BENCH_CALLGRIND
    CALLGRIND_DUMP_STATS_AT(name);
#endif
  }
  const char* name;
};

void run(const std::string& text) {
  if (!ExecuteMAXScriptScript(text.c_str(), FALSE)) std::cerr << "holder_bench: script failed: " << text << "\n";
}

constexpr const char* kProperties =
    "#(\"renderable\", \"castShadows\", \"receiveshadows\", \"primaryVisibility\", \"secondaryVisibility\", "
    "\"boxmode\", \"xray\", \"wirecolor\", \"UserPropBuffer\", \"position\", \"rotation\", \"scale\", \"height\", "
    "\"width\", \"length\", \"lengthsegs\", \"widthsegs\", \"material.diffuse\", \"material.ambient\", "
    "\"material.name\")";

// The same twenty values, read or written directly.
struct DirectValues {
  int flags[7];
  DWORD wire;
  MSTR user;
  Matrix3 tm;
  float dims[3];
  int segs[2];
  Color diffuse, ambient;
  MSTR name;
};

ParamID idOf(IParamBlock2* pb, const char* name) {
  ParamBlockDesc2* desc = pb->GetDesc();
  return desc->IndextoID(desc->NameToIndex(name));
}

void readDirect(INode* n, DirectValues& v) {
  v.flags[0] = n->Renderable();
  v.flags[1] = n->CastShadows();
  v.flags[2] = n->RcvShadows();
  v.flags[3] = n->GetPrimaryVisibility();
  v.flags[4] = n->GetSecondaryVisibility();
  v.flags[5] = n->GetBoxMode();
  v.flags[6] = n->HasObjXRayMtl();
  v.wire = n->GetWireColor();
  n->GetUserPropBuffer(v.user);
  v.tm = n->GetNodeTM(0);
  IParamBlock2* pb = n->GetObjectRef()->GetParamBlock(0);
  v.dims[0] = pb->GetFloat(idOf(pb, "height"), 0);
  v.dims[1] = pb->GetFloat(idOf(pb, "width"), 0);
  v.dims[2] = pb->GetFloat(idOf(pb, "length"), 0);
  v.segs[0] = pb->GetInt(idOf(pb, "lengthsegs"), 0);
  v.segs[1] = pb->GetInt(idOf(pb, "widthsegs"), 0);
  auto* m = static_cast<StdMat*>(n->GetMtl());
  v.diffuse = m->GetDiffuse(0);
  v.ambient = m->GetAmbient(0);
  v.name = m->GetName();
}

void writeDirect(INode* n, const DirectValues& v) {
  n->SetRenderable(v.flags[0]);
  n->SetCastShadows(v.flags[1]);
  n->SetRcvShadows(v.flags[2]);
  n->SetPrimaryVisibility(v.flags[3]);
  n->SetSecondaryVisibility(v.flags[4]);
  n->BoxMode(v.flags[5]);
  n->XRayMtl(v.flags[6]);
  n->SetWireColor(v.wire);
  n->SetUserPropBuffer(v.user);
  Matrix3 tm = v.tm;
  n->SetNodeTM(0, tm);
  IParamBlock2* pb = n->GetObjectRef()->GetParamBlock(0);
  pb->SetValue(idOf(pb, "height"), 0, v.dims[0]);
  pb->SetValue(idOf(pb, "width"), 0, v.dims[1]);
  pb->SetValue(idOf(pb, "length"), 0, v.dims[2]);
  pb->SetValue(idOf(pb, "lengthsegs"), 0, v.segs[0]);
  pb->SetValue(idOf(pb, "widthsegs"), 0, v.segs[1]);
  auto* m = static_cast<StdMat*>(n->GetMtl());
  m->SetDiffuse(v.diffuse, 0);
  m->SetAmbient(v.ambient, 0);
  m->SetName(v.name);
}

// The kinds of text a pass switch runs, as the holder composes them, for box i. Capture's texts are
// written out here as its catalogue writes them; restore's come from the holder's own functions.
struct TextKind {
  const char* name;
  std::string (*text)(int i);
};

std::string numbered(const char* prefix, int i) { return std::string(prefix).append(std::to_string(i)); }
std::string boxName(int i) { return numbered("Box", i); }
std::string num(double v) { return FormatFloat(v); }

std::string readValue(const std::string& node, const std::string& name) {
  return ComposeText(
      "try(at time 0 if isproperty $'%s' #%s then $'%s'.%s else undefined)catch(execute \"at time 0 $'%s'.%s\")\n",
      {node, name, node, name, InLiteral(node), InLiteral(name)});
}

const TextKind kTextKinds[] = {
    {"read value", [](int i) { return readValue(boxName(i), "height"); }},
    {"read dotted value", [](int i) { return readValue(boxName(i), "material.diffuse"); }},
    {"read controller", [](int i) { return ComposeText("getpropertycontroller $'%s' #%s\n", {boxName(i), "height"}); }},
    {"read transform controller", [](int i) { return ComposeText("$'%s'.%s.controller\n", {boxName(i), "position"}); }},
    {"assign value", [](int i) { return restore_text::AssignProperty(boxName(i), "height", num(i % 50 + 0.5)); }},
    {"assign dotted value",
     [](int i) {
       return restore_text::AssignProperty(boxName(i), "material.diffuse",
                                           ComposeText("(color %s %s %s)", {num(i % 256), num(20), num(30)}));
     }},
    {"assign transform",
     [](int i) {
       return restore_text::AssignTransform(boxName(i), "position", ComposeText("[%s,%s,%s]", {num(i), num(-i * 0.5), num(0)}));
     }},
    {"record address",
     [](int i) { return ControllerAddressText(numbered("QZMPropHolder", i), "propertyFloatController", 2, i % 20); }},
};

void measureTextKinds(int n) {
  std::printf("  per text (%d texts of each kind)\n", n);
  for (const TextKind& kind : kTextKinds) {
    std::vector<std::string> texts;
    for (int i = 1; i <= n; ++i) texts.push_back(kind.text(i));
    const std::string section = std::string("text ") + kind.name;
    const auto start = Clock::now();
    {
      Section timed(section.c_str());
      for (const std::string& t : texts) ExecuteMAXScriptScript(t.c_str(), TRUE);
    }
    std::printf("    %-26s %7.2f us\n", kind.name, seconds(start) * 1e6 / n);
  }
  std::fflush(stdout);
}

void measure(int n) {
  run("resetMaxFile #noPrompt");
  std::ostringstream build;
  build << "global QZMIDA = #()\n"
        << "for i = 1 to " << n << " do (\n"
        << "  local b = box name:(\"Box\" + i as string) pos:[i, 0, 0]\n"
        << "  b.material = standardMaterial name:(\"Mat\" + i as string)\n"
        << "  setUserPropBuffer b \"pass = beauty\"\n"
        << "  if mod i 4 == 0 do with animate on at time 10 b.height = 50\n"
        << "  local h = QZMPropHolder(); h.node = b; h.propertyName = " << kProperties << "\n"
        << ")\n";
  auto start = Clock::now();
  run(build.str());
  const double buildTime = seconds(start);
  std::vector<INode*> boxes;
  Interface* ip = GetCOREInterface();
  for (int i = 1; i <= n; ++i) boxes.push_back(ip->GetINodeByName(("Box" + std::to_string(i)).c_str()));

  // Five passes; between passes some values change, so the records differ.
  double capture = 0;
  for (int p = 0; p < 5; ++p) {
    for (INode* b : boxes) {
      b->SetRenderable(p % 2);
      b->SetWireColor(static_cast<DWORD>(p * 40));
    }
    run("QZMIDA = #()");
    const std::string text = "$QZMPropHolder01.CaptureAllProperties " + std::to_string(5000 + p) + " 0";
    start = Clock::now();
    {
      Section section("capture");
      run(text);
    }
    capture = p == 0 ? seconds(start) : std::min(capture, seconds(start));
  }
  double restore = 1e30;
  for (int r = 0; r < 2; ++r) {
    run("QZMIDA = #()");
    start = Clock::now();
    {
      Section section("restore");
      run("$QZMPropHolder01.RestoreAllProperties 5002 3");
    }
    restore = std::min(restore, seconds(start));
  }

  std::vector<DirectValues> values(boxes.size());
  start = Clock::now();
  for (size_t i = 0; i < boxes.size(); ++i) readDirect(boxes[i], values[i]);
  const double directRead = seconds(start);
  start = Clock::now();
  for (size_t i = 0; i < boxes.size(); ++i) writeDirect(boxes[i], values[i]);
  const double directWrite = seconds(start);

  std::printf("%6d holders (scene built in %.1f s), shape cache %s\n", n, buildTime,
              sim::rt::ShapeCache::get().enabled() ? "on" : "off");
  std::printf("  capture one pass  %9.1f ms  %7.1f us/holder   direct reads  %7.2f ms   ratio %6.0fx\n", capture * 1e3,
              capture * 1e6 / n, directRead * 1e3, capture / directRead);
  std::printf("  restore one pass  %9.1f ms  %7.1f us/holder   direct writes %7.2f ms   ratio %6.0fx\n", restore * 1e3,
              restore * 1e6 / n, directWrite * 1e3, restore / directWrite);
  const auto& stats = sim::rt::ShapeCache::get().stats();
  std::printf("  texts so far: %zu run from kept trees, %zu parsed\n", stats.reused, stats.parsed);
  std::fflush(stdout);
  measureTextKinds(n);
}

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream problems;
  if (sim::startHost(QZM_PLUGIN_DIR, problems) == 0) {
    std::cerr << "holder_bench: no plug-ins loaded\n" << problems.str();
    return 1;
  }
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 10000};
  for (int n : sizes)
    if (n > 0) measure(n);
  return 0;
}
