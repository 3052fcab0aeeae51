// The build without OpenImageIO (the Windows build): no image files, said clearly.
#include "bitmap/image_files.h"

namespace sim {

bool imageFilesAvailable() { return false; }

Bitmap* readImageFile(BitmapInfo&, BMMRES& status) {
  status = BMMRES_NODRIVER;
  return nullptr;
}

BMMRES writeImageFile(const Bitmap&, const BitmapInfo&) { return BMMRES_NODRIVER; }

BMMRES writeImageFile(const Bitmap&, const BitmapInfo&, const ImageFileTags&) { return BMMRES_NODRIVER; }

bool readImageFileTags(const std::string&, ImageFileTags&, BMMRES& status) {
  status = BMMRES_NODRIVER;
  return false;
}

}  // namespace sim
