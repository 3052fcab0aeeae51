// Bitmaps in script: the BitMap value, its constructor (bitmap w h color:c), and the primitives
// openBitmap, save, close, free, getPixels and setPixels. Colours in script are 0..255 per channel
// (alpha included); the bitmap keeps 0..1 floats, so values above 255 survive.
#include "script/script_failure.h"
#include "maxscript/bitmaps.h"

#include "bitmap/bitmap_factory.h"
#include "bitmap/image_files.h"
#include "core/c_format.h"
#include "maxscript/maxscript.h"
#include "script/bitmap_values.h"
#include "script/string_streams.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

const std::string& propName(Value* prop) { return static_cast<Name*>(prop)->lower; }

MAXBitMap* bitmapArg(Value* v, const char* function) {
  if (!is_bitmap(v)) throw NoMethodError(function, v);
  return static_cast<MAXBitMap*>(v);
}

// A pixel coordinate from a script number: whole pixels, and far outside stays far outside.
int pixelCoordinate(float v) {
  if (!(v == v)) return -1;  // NaN: nowhere
  return static_cast<int>(std::clamp(std::floor(v), -1.0e9f, 1.0e9f));
}

AColor colourArg(Value* v) {
  if (v->tag != class_tag(Color)) throw ConversionError(v, "Color");
  return static_cast<ColorValue*>(v)->color;
}

}  // namespace

// ---- the value -----------------------------------------------------------------------------------

MAXBitMap::MAXBitMap() { tag = class_tag(MAXBitMap); }

MAXBitMap::MAXBitMap(const BitmapInfo& info, Bitmap* bitmap) : bi(info), bm(bitmap) { tag = class_tag(MAXBitMap); }

MAXBitMap::~MAXBitMap() {
  if (bm) bm->DeleteThis();
}

Bitmap* MAXBitMap::to_bitmap() {
  if (!bm) throw RuntimeError("The bitmap holds no image: ", this);
  return bm;
}

void MAXBitMap::sprin1(CharStream* s) {
  bool freed = bm && !bm->HasStorage();
  s->printf("BitMap:%s%s(%dx%d%s)", bi.Name(), *bi.Name() ? " " : "", bi.Width(), bi.Height(), freed ? ", freed" : "");
}

Value* MAXBitMap::get_property(Value* prop) {
  const std::string& n = propName(prop);
  if (n == "width") return Integer::intern(bi.Width());
  if (n == "height") return Integer::intern(bi.Height());
  if (n == "filename") return *bi.Name() ? static_cast<Value*>(new String(bi.Name())) : undefined;
  return unknown_property(this, prop);
}

Value* MAXBitMap::set_property(Value* prop, Value* v) {
  if (propName(prop) != "filename") return unknown_property(this, prop);
  bi.SetName(v == undefined ? "" : v->to_string());
  // A format block belongs to the file it was made for.
  bi.ResetPiData();
  return v;
}

bool MAXBitMap::has_property(Value* prop) {
  const std::string& n = propName(prop);
  return n == "width" || n == "height" || n == "filename";
}

void MAXBitMap::get_property_names(Array* names) {
  for (const char* n : {"width", "height", "filename"}) names->append(Name::intern(n));
}

Value* MAXBitMap::copy_vf() {
  BitmapInfo info = bi;
  info.SetName("");
  info.ResetPiData();
  Bitmap* made = TheManager->Create(&info);
  if (!made) throw RuntimeError("Cannot copy the bitmap: ", this);
  if (bm && bm->HasStorage()) {
    for (int y = 0; y < made->Height(); ++y)
      std::memcpy(BitmapFactory::row(*made, y), BitmapFactory::row(*bm, y), size_t(made->Width()) * 4 * sizeof(float));
  }
  return new MAXBitMap(info, made);
}

// ---- constructor and primitives ------------------------------------------------------------------

namespace sim::rt {

// bitmap w h [color:c] [filename:f] [hdr:b]
Value* makeBitmapValue(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 2) throw ArgCountError("bitmap", 2, positional);
  int width = arg_list[0]->to_int(), height = arg_list[1]->to_int();
  Value* colour = key_arg(color);
  Value* fileName = key_arg(filename);
  Value* hdr = key_arg(hdr);
  BitmapInfo info;
  info.SetWidth(width);
  info.SetHeight(height);
  info.SetType(hdr != &unsupplied && hdr->to_bool() ? BMM_FLOAT_RGBA_32 : BMM_TRUE_32);
  info.SetFlags(MAP_HAS_ALPHA);
  if (fileName != &unsupplied && fileName != undefined) info.SetName(fileName->to_string());
  AColor fill = colour != &unsupplied ? colourArg(colour) : AColor(0.0f, 0.0f, 0.0f, 0.0f);
  Bitmap* made = TheManager->Create(&info);
  if (!made) throw RuntimeError(sim::c_format("Cannot create a bitmap of %d x %d pixels", width, height).c_str());
  if (colour != &unsupplied) made->Fill(BMM_Color_fl(fill));
  return new MAXBitMap(info, made);
}

}  // namespace sim::rt

// openBitmap f: the image of file f, or undefined and a Listener line saying why not.
def_visible_primitive(openBitmap, "openBitmap");
Value* openBitmap_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError("openBitmap", 1, positional);
  BitmapInfo info(arg_list[0]->to_string());
  BMMRES status = BMMRES_SUCCESS;
  Bitmap* loaded = TheManager->Load(&info, &status);
  if (!loaded) {
    the_listener->edit_stream->printf("-- Error opening bitmap: %s (%s)\n", info.Name(), sim::imageFileErrorText(status));
    return undefined;
  }
  return new MAXBitMap(info, loaded);
}

// save b: writes b to its file name; a script error when it has none or the file cannot be written.
def_visible_primitive(save, "save");
Value* save_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError("save", 1, positional);
  MAXBitMap* b = bitmapArg(arg_list[0], "save");
  if (!*b->bi.Name()) throw RuntimeError("Cannot save a bitmap without a file name: ", b);
  Bitmap* bm = b->to_bitmap();
  BMMRES status = bm->OpenOutput(&b->bi);
  if (status == BMMRES_SUCCESS) status = bm->Write(&b->bi);
  bm->Close(&b->bi);
  if (status != BMMRES_SUCCESS)
    throw RuntimeError(sim::c_format("Cannot save bitmap: %s (%s)", b->bi.Name(), sim::imageFileErrorText(status)).c_str());
  return ok;
}

// close b ends the bitmap's output; close on a file stream closes the file.
def_visible_primitive(close, "close");
Value* close_cf(Value** arg_list, int count) {
  check_arg_count(close, 1, count);
  if (auto* stream = dynamic_cast<CharStream*>(arg_list[0])) {
    stream->close();
    return ok;
  }
  MAXBitMap* b = bitmapArg(arg_list[0], "close");
  if (b->bm) b->bm->Close(&b->bi);
  return ok;
}

// free b lets the pixels go now; the value keeps its size and reads no pixels afterwards.
def_visible_primitive(free, "free");
Value* free_cf(Value** arg_list, int count) {
  check_arg_count(free, 1, count);
  if (Value* done = sim::rt::freeStringStream(arg_list[0])) return done;
  MAXBitMap* b = bitmapArg(arg_list[0], "free");
  if (b->bm) b->bm->DeleteStorage();
  return ok;
}

// getPixels b [x,y] n: the colours of the part of that run of row y that lies inside the bitmap.
def_visible_primitive(getPixels, "getPixels");
Value* getPixels_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 3) throw ArgCountError("getPixels", 3, positional);
  Bitmap* bm = bitmapArg(arg_list[0], "getPixels")->to_bitmap();
  Point2 at = arg_list[1]->to_point2();
  int x = pixelCoordinate(at.x), y = pixelCoordinate(at.y), n = arg_list[2]->to_int();
  std::int64_t first = std::max(x, 0);
  std::int64_t last = std::min<std::int64_t>(std::int64_t(x) + std::max(n, 0), bm->Width());
  auto* result = new Array(0);
  if (last <= first || y < 0 || y >= bm->Height()) return result;
  std::vector<BMM_Color_fl> row(size_t(last - first));
  int moved = bm->GetPixels(int(first), y, int(last - first), row.data());
  for (int i = 0; i < moved; ++i) result->append(new ColorValue(AColor(row[size_t(i)])));
  return result;
}

// setPixels b [x,y] #(colours): writes the colours from column x of row y, those that fall inside.
def_visible_primitive(setPixels, "setPixels");
Value* setPixels_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 3) throw ArgCountError("setPixels", 3, positional);
  Bitmap* bm = bitmapArg(arg_list[0], "setPixels")->to_bitmap();
  Point2 at = arg_list[1]->to_point2();
  if (!is_array(arg_list[2])) throw ConversionError(arg_list[2], "Array");
  auto* colours = static_cast<Array*>(arg_list[2]);
  // Every element is converted before any pixel changes, so a bad one changes nothing.
  std::vector<BMM_Color_fl> row;
  row.reserve(size_t(colours->size));
  for (int i = 0; i < colours->size; ++i) row.emplace_back(colourArg(colours->data[i]));
  bm->PutPixels(pixelCoordinate(at.x), pixelCoordinate(at.y), colours->size, row.data());
  return ok;
}
