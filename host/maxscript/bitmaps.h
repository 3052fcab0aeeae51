// Bitmaps as script values. A MAXBitMap owns its Bitmap; `bi` describes it (size, type, file
// name). A primitive that makes one fills in `bi`, has TheManager create `bm` from it, and returns
// the value; the value frees the bitmap when it goes.
#pragma once

#include "bitmap.h"
#include "maxscript/classes.h"

class HOST_API MAXBitMap : public Value {
 public:
  MAXBitMap();
  MAXBitMap(const BitmapInfo& info, Bitmap* bitmap);
  ~MAXBitMap() override;

  BitmapInfo bi;
  Bitmap* bm = nullptr;

  // The bitmap; raises a runtime error for a value that holds none (its creation failed).
  Bitmap* to_bitmap() override;
  // BitMap:<file name> (<width>x<height>), or BitMap:(<width>x<height>) without a file name.
  void sprin1(CharStream* s) override;
  Value* get_property(Value* prop) override;  // width, height, filename
  Value* set_property(Value* prop, Value* v) override;
  bool has_property(Value* prop) override;
  void get_property_names(Array* names) override;
  // A new bitmap with the same pixels, living only in memory (no file name).
  Value* copy_vf() override;
};
