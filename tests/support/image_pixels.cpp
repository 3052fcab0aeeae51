#include "support/image_pixels.h"

#include "bitmap.h"

namespace test {

ImagePixels readPixels(const std::string& file) {
  ImagePixels p;
  BitmapInfo bi(file.c_str());
  BMMRES status = BMMRES_SUCCESS;
  Bitmap* bm = TheManager->Load(&bi, &status);
  if (!bm) return p;
  p.width = bm->Width();
  p.height = bm->Height();
  p.rgba.resize(size_t(p.width) * size_t(p.height) * 4);
  for (int y = 0; y < p.height; ++y)
    bm->GetPixels(0, y, p.width, reinterpret_cast<BMM_Color_fl*>(&p.rgba[size_t(y) * size_t(p.width) * 4]));
  bm->DeleteThis();
  return p;
}

}  // namespace test
