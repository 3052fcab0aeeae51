// Small images for the image functions of the script library: bitmaps made by script and filled
// with exact float pixels from here, and pixels read back as floats.
#pragma once

#include "script_library_fixture.h"

#include "bitmap.h"
#include "script/runtime.h"

#include <functional>
#include <ostream>
#include <string>

namespace test {

class ImageFunctions : public ScriptLibrary {
 protected:
  // A script global `name` holding a new w x h bitmap, every pixel `fill`.
  static Bitmap* image(const std::string& name, int w, int h, BMM_Color_fl fill) {
    run(name + " = bitmap " + std::to_string(w) + " " + std::to_string(h));
    Bitmap* bm = bitmapNamed(name);
    bm->Fill(fill);
    return bm;
  }
  // A script global `name` holding a new w x h bitmap whose pixels `at(x, y)` gives.
  static Bitmap* image(const std::string& name, int w, int h, const std::function<BMM_Color_fl(int, int)>& at) {
    Bitmap* bm = image(name, w, h, BMM_Color_fl());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        BMM_Color_fl p = at(x, y);
        bm->PutPixels(x, y, 1, &p);
      }
    return bm;
  }
  static Bitmap* bitmapNamed(const std::string& name) {
    Value* v = sim::rt::Runtime::get().getGlobal(name);
    return v ? v->to_bitmap() : nullptr;
  }
  static BMM_Color_fl pixel(Bitmap* bm, int x, int y) {
    BMM_Color_fl p(-9, -9, -9, -9);
    bm->GetPixels(x, y, 1, &p);
    return p;
  }
};

}  // namespace test

// Pixels compare exactly: the expected values are chosen to be exact in binary.
inline bool operator==(const BMM_Color_fl& a, const BMM_Color_fl& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

inline std::ostream& operator<<(std::ostream& os, const BMM_Color_fl& c) {
  return os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}
