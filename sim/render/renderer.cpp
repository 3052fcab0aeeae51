#include "render/renderer.h"

#include "render/finite_values.h"
#include "core/c_format.h"
#include "render/bvh.h"
#include "render/render_lights.h"
#include "render/render_scene.h"
#include "render/render_shade_context.h"
#include "render/render_view.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Surfaces seen through transparent ones, at most; what lies behind more is not looked for.
constexpr int kMaxLayers = 8;

// A node without a material: a matte surface in its wire colour, as the host shows such nodes.
void shadeWireColour(RenderShadeContext& sc, const Color& wire) {
  Color light = sc.ambientLight;
  Point3 n = sc.Normal();
  for (int i = 0; i < sc.nLights; ++i) {
    LightDesc* l = sc.Light(i);
    Color lc;
    Point3 dir;
    float dot = 0.0f, coef = 0.0f;
    if (l && l->Illuminate(sc, n, lc, dir, dot, coef)) light += lc * coef;
  }
  sc.out.c = wire * light;
  sc.out.t = Color(0.0f, 0.0f, 0.0f);
}

}  // namespace

bool renderSizeAllowed(int width, int height) {
  return width >= 1 && height >= 1 && width <= kMaxRenderSide && height <= kMaxRenderSide &&
         std::int64_t(width) * height <= kMaxRenderPixels;
}

RenderedFrame renderFrame(const RenderRequest& request) {
  RenderedFrame frame;
  const int w = request.width, h = request.height;
  if (!renderSizeAllowed(w, h)) {
    frame.error = c_format("the output size %d x %d is outside 1 x 1 to %d x %d (at most %d pixels)", w, h, kMaxRenderSide,
                           kMaxRenderSide, static_cast<int>(kMaxRenderPixels));
    return frame;
  }
  const TimeValue t = request.time;
  RenderScene scene = collectRenderScene(t);
  RenderView view;
  if (request.camera) {
    view = RenderView::fromCamera(request.camera, t, w, h, frame.error);
    if (!frame.error.empty()) return frame;
  } else {
    view = RenderView::defaultView(scene.bounds, w, h);
  }
  Bvh bvh(scene.triangles);
  auto lights = collectRenderLights(t, bvh, view);
  RenderShadeContext sc(t, view.worldToCamera(), lights, request.ambient);

  frame.width = w;
  frame.height = h;
  const size_t n = size_t(w) * size_t(h);
  frame.rgba.assign(n * 4, 0.0f);
  frame.objectId.assign(n, 0);
  frame.materialId.assign(n, 0);
  const Color bg = request.background;

  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Ray ray = view.pixelRay(float(x), float(y));
      Color sum, through(1.0f, 1.0f, 1.0f);
      bool covered = false;
      float tMin = 0.0f;
      const size_t at = size_t(y) * size_t(w) + size_t(x);
      for (int layer = 0; layer < kMaxLayers; ++layer) {
        Hit hit = bvh.nearest(ray, tMin, 1e30f, kSeenByCamera);
        if (hit.triangle < 0) break;
        const RenderTriangle& tri = scene.triangles[size_t(hit.triangle)];
        const RenderInstance& inst = scene.instances[size_t(tri.instance)];
        Point3 p = ray.origin + ray.dir * hit.t;
        sc.setHit(inst, tri, p, hit.u, hit.v, ray.dir, Point2(float(x), float(y)));
        if (inst.mtl) inst.mtl->Shade(sc);
        else shadeWireColour(sc, inst.wire);
        Color c = finite(sc.out.c) ? sc.out.c : Color();
        Color tr = sc.out.t;
        tr = Color(std::clamp(tr.r, 0.0f, 1.0f), std::clamp(tr.g, 0.0f, 1.0f), std::clamp(tr.b, 0.0f, 1.0f));
        if (!finite(tr)) tr = Color();
        if (!covered) {
          frame.objectId[at] = inst.objectId;
          frame.materialId[at] = sc.out.gbufId;
        }
        covered = true;
        sum += through * c * (Color(1.0f, 1.0f, 1.0f) - tr);
        through = through * tr;
        if (std::max({through.r, through.g, through.b}) < 1.0f / 1024.0f) break;
        tMin = hit.t + sc.offset();
      }
      float* px = &frame.rgba[at * 4];
      Color c = sum + through * bg;
      px[0] = c.r;
      px[1] = c.g;
      px[2] = c.b;
      px[3] = covered ? 1.0f - (through.r + through.g + through.b) / 3.0f : 0.0f;
    }
    if (request.progress) request.progress(y + 1, h);
  }
  frame.rays = bvh.raysTraced();
  return frame;
}

}  // namespace sim
