// A whole-scene pass switch: N boxes, each with a holder of 20 properties (node flags, wire colour,
// user properties, transforms, generic floats, integers, colours and a string, the height animated
// on every fourth box), five passes captured. Timed: CaptureAllProperties of one pass and
// RestoreAllProperties of one pass, in total and per holder. Baseline in the same run: reading and
// writing the same values through direct C++ calls, without script. Then the kinds of text the
// holder runs, each run once per box with that box's name and values, per text.
//
// Under callgrind each timed part is one dump of its own, named after it (capture, restore,
// text <kind>); bench/holder_callgrind.sh turns them into instructions per holder and per text.
// QZM_SCRIPT_SHAPE_CACHE=0 runs it with every text parsed anew. Memory: resident after building the
// scene and after the five captures, and the process's peak.
//
//   holder_bench [N...] (default: 1000 10000)
//   holder_bench --scaling N     capture and restore only, one tab-separated line (holder_scaling.sh)
#include "core/host_session.h"
#include "holder_bench_scene.h"
#include "inode.h"
#include "iparamb2.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "scene/materials/stdmat.h"
#include "script/shape_cache.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "bench_section.h"

namespace {

using bench::Clock;
using bench::Section;
using bench::seconds;

// The process's processor time since `start`: on a machine shared with other programs it leaves out
// the time they had, which wall time cannot.
double cpuSeconds(std::clock_t start) { return static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC; }

void run(const std::string& text) {
  if (!ExecuteMAXScriptScript(text.c_str(), FALSE)) std::cerr << "holder_bench: script failed: " << text << "\n";
}

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

void measureTextKinds(int n) {
  std::printf("  per text (%d texts of each kind)\n", n);
  for (const bench::TextKind& kind : bench::TextKinds()) {
    std::vector<std::string> texts;
    for (int i = 1; i <= n; ++i) texts.push_back(kind.host(i));
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

// Memory in KB: resident now, and the process's peak so far (-1 where the system does not say).
long residentKb() {
#ifdef __linux__
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = -1;
    std::fclose(f);
    return resident < 0 ? -1 : resident * (sysconf(_SC_PAGESIZE) / 1024);
  }
#endif
  return -1;
}

long peakKb() {
#ifdef __linux__
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) == 0) return usage.ru_maxrss;
#endif
  return -1;
}

double mb(long kb) { return kb / 1024.0; }

// --scaling: one line of figures per size instead of the report, for bench/holder_scaling.sh.
bool scalingRow = false;

void measure(int n) {
  auto start = Clock::now();
  if (!bench::BuildHolderScene(n)) std::cerr << "holder_bench: the scene was not built\n";
  const double buildTime = seconds(start);
  std::vector<INode*> boxes;
  Interface* ip = GetCOREInterface();
  for (int i = 1; i <= n; ++i) boxes.push_back(ip->GetINodeByName(("Box" + std::to_string(i)).c_str()));

  const long sceneKb = residentKb();

  // Five passes; between passes some values change, so the records differ.
  double capture = 0, captureAll = 0, captureCpu = 1e30, captureCpuAll = 0;
  for (int p = 0; p < 5; ++p) {
    for (INode* b : boxes) {
      b->SetRenderable(p % 2);
      b->SetWireColor(static_cast<DWORD>(p * 40));
    }
    run("QZMIDA = #()");
    const std::string text = bench::CaptureAllText(5000 + p);
    start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    {
      Section section("capture");
      run(text);
    }
    capture = p == 0 ? seconds(start) : std::min(capture, seconds(start));
    captureAll += seconds(start);
    captureCpu = std::min(captureCpu, cpuSeconds(cpuStart));
    captureCpuAll += cpuSeconds(cpuStart);
  }
  const long passesKb = residentKb();
  double restore = 1e30, restoreCpu = 1e30;
  for (int r = 0, runs = scalingRow ? 3 : 2; r < runs; ++r) {
    run("QZMIDA = #()");
    start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    {
      Section section("restore");
      run(bench::RestoreAllText(5002));
    }
    restore = std::min(restore, seconds(start));
    restoreCpu = std::min(restoreCpu, cpuSeconds(cpuStart));
  }

  std::vector<DirectValues> values(boxes.size());
  start = Clock::now();
  for (size_t i = 0; i < boxes.size(); ++i) readDirect(boxes[i], values[i]);
  const double directRead = seconds(start);
  start = Clock::now();
  for (size_t i = 0; i < boxes.size(); ++i) writeDirect(boxes[i], values[i]);
  const double directWrite = seconds(start);

  if (scalingRow) {
    // holders; capture best and mean of five, restore best of three (us per holder), in processor
    // time, then in wall time; KB resident after the scene, after five passes, and the peak
    std::printf("scaling\t%d\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%ld\t%ld\t%ld\n", n, captureCpu * 1e6 / n,
                captureCpuAll * 1e6 / 5 / n, restoreCpu * 1e6 / n, capture * 1e6 / n, captureAll * 1e6 / 5 / n,
                restore * 1e6 / n, sceneKb, passesKb, peakKb());
    std::fflush(stdout);
    return;
  }
  std::printf("%6d holders (scene built in %.1f s), shape cache %s\n", n, buildTime,
              sim::rt::ShapeCache::get().enabled() ? "on" : "off");
  std::printf("  capture one pass  %9.1f ms  %7.1f us/holder   direct reads  %7.2f ms   ratio %6.0fx\n", capture * 1e3,
              capture * 1e6 / n, directRead * 1e3, capture / directRead);
  std::printf("  restore one pass  %9.1f ms  %7.1f us/holder   direct writes %7.2f ms   ratio %6.0fx\n", restore * 1e3,
              restore * 1e6 / n, directWrite * 1e3, restore / directWrite);
  const auto& stats = sim::rt::ShapeCache::get().stats();
  std::printf("  texts so far: %zu run from kept trees, %zu parsed\n", stats.reused, stats.parsed);
  if (sceneKb >= 0 && passesKb >= 0)
    std::printf("  memory: scene %.1f MB, with five passes %.1f MB (%.2f KB per holder per pass), peak so far %.1f MB\n",
                mb(sceneKb), mb(passesKb), (passesKb - sceneKb) / 5.0 / n, mb(peakKb()));
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
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--scaling")
      scalingRow = true;
    else
      sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty()) sizes = {1000, 10000};
  for (int n : sizes)
    if (n > 0) measure(n);
  return 0;
}
