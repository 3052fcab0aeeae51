// TheManager: the host's bitmap manager.
#include "bitmap.h"

#include "bitmap/bitmap_factory.h"
#include "bitmap/image_files.h"

namespace {

class HostBitmapManager : public BitmapManager {
 public:
  Bitmap* Create(BitmapInfo* bi) override {
    if (!bi) return nullptr;
    return BitmapFactory::make(bi->Width(), bi->Height(), bi->Type(), bi->Flags());
  }

  Bitmap* Load(BitmapInfo* bi, BMMRES* status) override {
    BMMRES ignored = BMMRES_SUCCESS;
    BMMRES& result = status ? *status : ignored;
    if (!bi || !*bi->Name()) {
      result = BMMRES_BADFILENAME;
      return nullptr;
    }
    return sim::readImageFile(*bi, result);
  }
};

HostBitmapManager theManager;

}  // namespace

BitmapManager* TheManager = &theManager;
