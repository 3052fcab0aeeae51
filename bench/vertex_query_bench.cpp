// QZMgetVertsInSphere on a mesh of 1,000,000 vertices, with a radius that holds about half of them,
// for n = 1, 100 and 10,000 picks. Baselines in the same run: the picking procedure as written
// (quadratic: n scans of every candidate; timed once for the largest n, its result compared with
// ours for every n) and one plain pass over the vertex array computing every distance, the
// memory-bound floor.
//
//   vertex_query_bench [PLUGIN_DIR]   (default: the build's plug-in folder)
#include "core/host_session.h"
#include "inode.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "script/runtime.h"
#include "support/sphere_picks_literal.h"
#include "triobj.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <random>
#include <sstream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kVerts = 1'000'000;

double seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

template <class F>
double bestOf(int runs, F f) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    f();
    best = std::min(best, seconds(start));
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream problems;
  if (sim::startHost(argc > 1 ? argv[1] : QZM_PLUGIN_DIR, problems) == 0) {
    std::cerr << "vertex_query_bench: no plug-ins loaded\n" << problems.str();
    return 1;
  }
  // Vertices spread evenly in a cube of side 2; a sphere of radius 0.985 at its centre holds about
  // half of them.
  std::mt19937 random(7);
  std::uniform_real_distribution<float> coord(-1.0f, 1.0f);
  std::vector<Point3> verts(kVerts);
  for (Point3& p : verts) p = Point3(coord(random), coord(random), coord(random));
  TriObject* tri = CreateNewTriObject();
  tri->mesh.setNumVerts(kVerts);
  std::copy(verts.begin(), verts.end(), tri->mesh.verts);
  INode* node = GetCOREInterface()->CreateObjectNode(tri);
  node->SetName("Cloud");
  Matrix3 tm;
  tm.SetTrans(Point3(5, 0, 0));
  node->SetNodeTM(0, tm);
  const Point3 centre(5, 0, 0);
  const float radius = 0.985f;

  // The floor: one pass computing every vertex's world position and squared distance.
  volatile int inside = 0;
  double plain = bestOf(5, [&] {
    int count = 0;
    for (const Point3& v : verts) count += ((centre - v * tm).LengthSquared() <= radius * radius);
    inside = count;
  });
  std::printf("vertices %d, inside the sphere %d\n", kVerts, static_cast<int>(inside));
  std::printf("plain pass over the vertices:          %8.2f ms\n", plain * 1e3);

  for (int n : {1, 100, 10000}) {
    std::string script = "X = #(); QZMgetVertsInSphere $Cloud [5,0,0] 0.985 " + std::to_string(n) + " X";
    double ours = bestOf(5, [&] { ExecuteMAXScriptScript(script.c_str(), FALSE); });
    auto* got = static_cast<Array*>(sim::rt::Runtime::get().getGlobal("X"));

    auto start = Clock::now();
    auto literal = test::literalSpherePicks(verts, tm, centre, radius, n, {});
    double literalTime = seconds(start);
    bool same = got && got->size == static_cast<int>(2 * literal.size());
    for (size_t k = 0; same && k < literal.size(); ++k)
      same = got->data[2 * k]->to_int() == literal[k].first && got->data[2 * k + 1]->to_float() == literal[k].second;
    std::printf("n = %5d: QZMgetVertsInSphere %8.2f ms (%.2f x the plain pass); as written %10.2f ms (%.0f x ours); "
                "same result: %s\n",
                n, ours * 1e3, ours / plain, literalTime * 1e3, literalTime / ours, same ? "yes" : "NO");
    if (!same) return 1;
  }
  sim::shutdownHost();
  return 0;
}
