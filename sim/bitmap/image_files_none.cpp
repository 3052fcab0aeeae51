// The build without OpenImageIO (the Windows build): no image files, said clearly.
#include "bitmap/image_files.h"

namespace sim {

bool imageFilesAvailable() { return false; }

Bitmap* readImageFile(BitmapInfo&, BMMRES& status) {
  status = BMMRES_NODRIVER;
  return nullptr;
}

BMMRES writeImageFile(const Bitmap&, const BitmapInfo&) { return BMMRES_NODRIVER; }

}  // namespace sim
