#include "render/render_output.h"

#include "bitmap/bitmap_factory.h"
#include "bitmap/image_files.h"
#include "core/c_format.h"

#include "maxapi.h"
#include "renderelements.h"
#include "scene/scene_services.h"

#include <cstring>

namespace sim {

namespace {

// An id image: each pixel's id as its grey level (id / 255, so that script reads the id back as
// the colour's red), alpha 1 where the camera saw a surface.
Bitmap* idImage(const RenderedFrame& frame, const std::vector<std::int32_t>& ids) {
  Bitmap* bm = BitmapFactory::make(frame.width, frame.height, BMM_TRUE_64, MAP_HAS_ALPHA);
  if (!bm) return nullptr;
  for (int y = 0; y < frame.height; ++y) {
    float* row = BitmapFactory::row(*bm, y);
    for (int x = 0; x < frame.width; ++x) {
      size_t at = size_t(y) * size_t(frame.width) + size_t(x);
      float v = float(ids[at]) / 255.0f;
      float* px = row + size_t(x) * 4;
      px[0] = px[1] = px[2] = v;
      px[3] = frame.rgba[at * 4 + 3] > 0.0f ? 1.0f : 0.0f;
    }
  }
  return bm;
}

// Hands the enabled object-id and material-id elements their images; an element without an output
// description gets one without a file. Answers why a named file could not be written, if one could
// not.
std::string fillRenderElements(const RenderedFrame& frame) {
  IRenderElementMgr* elements = GetCOREInterface()->GetCurRenderElementMgr();
  if (!elements || !elements->GetElementsActive()) return std::string();
  std::string failed;
  for (int i = 0; i < elements->NumRenderElements(); ++i) {
    auto* element = dynamic_cast<IRenderElement*>(elements->GetRenderElement(i));
    if (!element || !element->IsEnabled()) continue;
    Class_ID cls = element->ClassID();
    const std::vector<std::int32_t>* ids = cls == kObjectIdElementClassID     ? &frame.objectId
                                           : cls == kMaterialIdElementClassID ? &frame.materialId
                                                                              : nullptr;
    if (!ids) continue;
    PBBitmap* output = nullptr;
    element->GetPBBitmap(output);
    if (!output) {
      PBBitmap blank;
      PBBitmap* given = &blank;
      element->SetPBBitmap(given);
      element->GetPBBitmap(output);
      if (!output) continue;
    }
    Bitmap* image = idImage(frame, *ids);
    if (!image) continue;
    if (output->bm) output->bm->DeleteThis();
    output->bm = image;
    output->bi.SetWidth(frame.width);
    output->bi.SetHeight(frame.height);
    output->bi.SetType(BMM_TRUE_64);
    output->bi.SetFlags(MAP_HAS_ALPHA);
    if (*output->bi.Name()) {
      std::string why = writeImageFile(image, output->bi);
      if (!why.empty() && failed.empty()) failed = why;
    }
  }
  return failed;
}

}  // namespace

RenderOutput renderToBitmap(const RenderRequest& request) {
  RenderOutput out;
  RenderedFrame frame = renderFrame(request);
  out.rays = frame.rays;
  if (!frame.error.empty()) {
    out.error = frame.error;
    return out;
  }
  out.info.SetWidth(frame.width);
  out.info.SetHeight(frame.height);
  out.info.SetType(BMM_TRUE_64);
  out.info.SetFlags(MAP_HAS_ALPHA);
  out.image = BitmapFactory::make(frame.width, frame.height, BMM_TRUE_64, MAP_HAS_ALPHA);
  if (!out.image) {
    out.error = c_format("no memory for an image of %d x %d pixels", frame.width, frame.height);
    return out;
  }
  const size_t rowFloats = size_t(frame.width) * 4;
  for (int y = 0; y < frame.height; ++y)
    std::memcpy(BitmapFactory::row(*out.image, y), &frame.rgba[size_t(y) * rowFloats], rowFloats * sizeof(float));
  out.elementError = fillRenderElements(frame);
  return out;
}

std::string writeImageFile(Bitmap* bm, BitmapInfo& info) {
  BMMRES status = bm->OpenOutput(&info);
  if (status == BMMRES_SUCCESS) status = bm->Write(&info);
  bm->Close(&info);
  if (status == BMMRES_SUCCESS) return std::string();
  return c_format("%s (%s)", info.Name(), imageFileErrorText(status));
}

}  // namespace sim
