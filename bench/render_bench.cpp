// The renderer on a production-sized frame: 1920 x 1080 of a scene of about 100,000 triangles (a
// ground plate and a grid of spheres) lit by two lights that cast shadows. Timed: the whole frame
// (camera rays, shading through the materials, shadow rays), reported in millions of rays a second;
// then ray casting alone, our hierarchy against Embree on the same triangles and the same rays
// (one thread each), with ours as a fraction of Embree's.
//
//   render_bench [spheres per side] (default 10: 100 spheres of 32 segments)
#include "core/host_session.h"
#include "maxapi.h"
#include "maxscript/maxscript.h"
#include "render/bvh.h"
#include "render/render_lights.h"
#include "render/render_scene.h"
#include "render/render_view.h"
#include "render/renderer.h"

#include <embree3/rtcore.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWidth = 1920, kHeight = 1080;

double seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

void run(const std::string& text) {
  if (!ExecuteMAXScriptScript(text.c_str(), FALSE)) std::cerr << "render_bench: script failed: " << text << "\n";
}

void buildScene(int side) {
  std::ostringstream s;
  s << "plane length:3000 width:3000 lengthsegs:4 widthsegs:4 wirecolor:(color 200 200 200)\n"
    << "for i = 1 to " << side << " do for j = 1 to " << side << " do\n"
    << "  sphere radius:40 segs:32 pos:[(i - " << side << " / 2.0) * 110, (j - " << side
    << " / 2.0) * 110, 45] material:(standardMaterial diffuse:(color (i * 20) 120 (j * 20)))\n"
    << "a = omniLight pos:[600, -800, 900]; a.baseObject.castShadows = true\n"
    << "b = omniLight pos:[-900, -300, 700] multiplier:0.5; b.baseObject.castShadows = true\n"
    << "targetCamera name:\"BenchCamera\" pos:[0, -1600, 900] target:(targetObject pos:[0, 0, 0]) fov:50\n";
  run(s.str());
}

// Camera rays through every pixel and, for each hit, a shadow ray to every light on the lit side:
// the rays a frame casts, without the shading.
struct RayCount {
  long long rays = 0, hits = 0;
};

template <class Nearest, class Blocked>
RayCount castFrame(const sim::RenderView& view, const std::vector<std::unique_ptr<sim::RenderLight>>& lights,
                   Nearest nearest, Blocked blocked) {
  RayCount c;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      sim::Ray r = view.pixelRay(float(x), float(y));
      Point3 n;
      float t = nearest(r, n);
      ++c.rays;
      if (t < 0.0f) continue;
      ++c.hits;
      n = n.Normalize();  // the offset below is a length along the normal
      if (DotProd(n, r.dir) > 0.0f) n = -n;
      Point3 p = r.origin + r.dir * t;
      Point3 from = p + n * (1e-3f * (1.0f + std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z)));
      for (const auto& l : lights) {
        Point3 to = l->position - from;
        float d = to.Length();
        if (DotProd(to, n) <= 0.0f) continue;
        blocked(sim::Ray{from, to / d}, d);
        ++c.rays;
      }
    }
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream problems;
  sim::startHost(QZM_PLUGIN_DIR, problems);
  int side = argc > 1 ? std::atoi(argv[1]) : 10;
  if (side < 1) side = 10;
  buildScene(side);
  INode* camera = GetCOREInterface()->GetINodeByName("BenchCamera");

  sim::RenderScene scene = sim::collectRenderScene(0);
  std::printf("scene: %zu triangles, %d x %d pixels, 2 shadowed lights\n", scene.triangles.size(), kWidth, kHeight);

  // The whole frame, best of two.
  sim::RenderRequest request;
  request.camera = camera;
  request.width = kWidth;
  request.height = kHeight;
  double frameTime = 1e30;
  long long frameRays = 0;
  for (int i = 0; i < 2; ++i) {
    auto start = Clock::now();
    sim::RenderedFrame frame = sim::renderFrame(request);
    frameTime = std::min(frameTime, seconds(start));
    frameRays = frame.rays;
  }
  std::printf("frame:              %.3f s, %lld rays, %.2f Mrays/s (goal: under 2 s)\n", frameTime, frameRays,
              frameRays / frameTime / 1e6);

  // Ray casting alone: build and trace with our hierarchy.
  std::string error;
  sim::RenderView view = sim::RenderView::fromCamera(camera, 0, kWidth, kHeight, error);
  auto start = Clock::now();
  sim::Bvh bvh(scene.triangles);
  double ourBuild = seconds(start);
  auto lights = sim::collectRenderLights(0, bvh, view);
  start = Clock::now();
  RayCount ours = castFrame(
      view, lights,
      [&](const sim::Ray& r, Point3& n) {
        sim::Hit h = bvh.nearest(r, 0.0f, 1e30f, sim::kSeenByCamera);
        if (h.triangle < 0) return -1.0f;
        const sim::RenderTriangle& tri = scene.triangles[size_t(h.triangle)];
        n = CrossProd(tri.e1, tri.e2);
        return h.t;
      },
      [&](const sim::Ray& r, float d) { return bvh.blocked(r, 0.0f, d, sim::kCastsShadows); });
  double ourTrace = seconds(start);

  // The same with Embree, one thread.
  RTCDevice device = rtcNewDevice("threads=1");
  RTCScene rtc = rtcNewScene(device);
  RTCGeometry geom = rtcNewGeometry(device, RTC_GEOMETRY_TYPE_TRIANGLE);
  const size_t nt = scene.triangles.size();
  auto* verts = static_cast<float*>(rtcSetNewGeometryBuffer(geom, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3, 3 * sizeof(float), nt * 3));
  auto* index = static_cast<unsigned*>(rtcSetNewGeometryBuffer(geom, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3, 3 * sizeof(unsigned), nt));
  for (size_t i = 0; i < nt; ++i) {
    const sim::RenderTriangle& t = scene.triangles[i];
    Point3 p[3] = {t.p0, t.p0 + t.e1, t.p0 + t.e2};
    for (int k = 0; k < 3; ++k) {
      verts[(i * 3 + size_t(k)) * 3 + 0] = p[k].x;
      verts[(i * 3 + size_t(k)) * 3 + 1] = p[k].y;
      verts[(i * 3 + size_t(k)) * 3 + 2] = p[k].z;
      index[i * 3 + size_t(k)] = unsigned(i * 3 + size_t(k));
    }
  }
  start = Clock::now();
  rtcCommitGeometry(geom);
  rtcAttachGeometry(rtc, geom);
  rtcReleaseGeometry(geom);
  rtcCommitScene(rtc);
  double embreeBuild = seconds(start);
  RTCIntersectContext context;
  rtcInitIntersectContext(&context);
  start = Clock::now();
  RayCount theirs = castFrame(
      view, lights,
      [&](const sim::Ray& r, Point3& n) {
        RTCRayHit rh{};
        rh.ray.org_x = r.origin.x, rh.ray.org_y = r.origin.y, rh.ray.org_z = r.origin.z;
        rh.ray.dir_x = r.dir.x, rh.ray.dir_y = r.dir.y, rh.ray.dir_z = r.dir.z;
        rh.ray.tnear = 0.0f;
        rh.ray.tfar = 1e30f;
        rh.ray.mask = 0xffffffffu;
        rh.hit.geomID = RTC_INVALID_GEOMETRY_ID;
        rtcIntersect1(rtc, &context, &rh);
        if (rh.hit.geomID == RTC_INVALID_GEOMETRY_ID) return -1.0f;
        n = Point3(rh.hit.Ng_x, rh.hit.Ng_y, rh.hit.Ng_z);
        return rh.ray.tfar;
      },
      [&](const sim::Ray& r, float d) {
        RTCRay ray{};
        ray.org_x = r.origin.x, ray.org_y = r.origin.y, ray.org_z = r.origin.z;
        ray.dir_x = r.dir.x, ray.dir_y = r.dir.y, ray.dir_z = r.dir.z;
        ray.tnear = 0.0f;
        ray.tfar = d;
        ray.mask = 0xffffffffu;
        rtcOccluded1(rtc, &context, &ray);
        return ray.tfar < 0.0f;
      });
  double embreeTrace = seconds(start);
  rtcReleaseScene(rtc);
  rtcReleaseDevice(device);

  double ourRate = ours.rays / ourTrace, theirRate = theirs.rays / embreeTrace;
  std::printf("rays alone, ours:   build %.3f s, %lld rays (%lld hits) in %.3f s, %.2f Mrays/s\n", ourBuild, ours.rays,
              ours.hits, ourTrace, ourRate / 1e6);
  std::printf("rays alone, Embree: build %.3f s, %lld rays (%lld hits) in %.3f s, %.2f Mrays/s\n", embreeBuild,
              theirs.rays, theirs.hits, embreeTrace, theirRate / 1e6);
  std::printf("ours / Embree:      %.2f of Embree's rays per second (one thread each)\n", ourRate / theirRate);
  sim::shutdownHost();
  return 0;
}
