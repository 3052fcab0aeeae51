// Image files in a build that has them: the work is done by the image file module, loaded from
// beside the host library the first time a script reads or writes an image.
#include "bitmap/image_file_module.h"
#include "bitmap/image_files.h"
#include "os/dynamic_library.h"

#include <cstdio>
#include <string>

namespace sim {
namespace {

const ImageFileFunctions* loadModule() {
  static const ImageFileFunctions* functions = [] () -> const ImageFileFunctions* {
    const std::string path = os::libraryFolderOf(reinterpret_cast<const void*>(&imageFilesAvailable)) + kImageFileModule;
    std::string error;
    void* lib = os::openLibrary(path, error);
    using Entry = const ImageFileFunctions* (*)();
    auto entry = lib ? reinterpret_cast<Entry>(os::findSymbol(lib, kImageFileEntry)) : nullptr;
    const ImageFileFunctions* f = entry ? entry() : nullptr;
    // Said once, on standard error: scripts then see the usual "no driver" answers.
    if (!lib) std::fprintf(stderr, "-- image files are not available: %s\n", error.c_str());
    else if (!f) std::fprintf(stderr, "-- image files are not available: %s has no entry point\n", path.c_str());
    return f;
  }();
  return functions;
}

}  // namespace

bool imageFilesAvailable() { return loadModule() != nullptr; }

Bitmap* readImageFile(BitmapInfo& bi, BMMRES& status) {
  const ImageFileFunctions* f = loadModule();
  if (!f) {
    status = BMMRES_NODRIVER;
    return nullptr;
  }
  return f->read(bi, status);
}

BMMRES writeImageFile(const Bitmap& bm, const BitmapInfo& bi) { return writeImageFile(bm, bi, ImageFileTags()); }

BMMRES writeImageFile(const Bitmap& bm, const BitmapInfo& bi, const ImageFileTags& tags) {
  const ImageFileFunctions* f = loadModule();
  return f ? f->write(bm, bi, tags) : BMMRES_NODRIVER;
}

bool readImageFileTags(const std::string& fileName, ImageFileTags& tags, BMMRES& status) {
  const ImageFileFunctions* f = loadModule();
  if (!f) {
    status = BMMRES_NODRIVER;
    return false;
  }
  return f->readTags(fileName, tags, status);
}

}  // namespace sim
