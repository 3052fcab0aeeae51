#include "bitmap/image_files.h"

namespace sim {

const char* imageFileErrorText(BMMRES status) {
  switch (status) {
    case BMMRES_SUCCESS: return "no error";
    case BMMRES_FILENOTFOUND: return "file not found";
    case BMMRES_MEMORYERROR: return "the image is too large";
    case BMMRES_NODRIVER: return "this build of the host reads and writes no files of this format";
    case BMMRES_IOERROR: return "the file cannot be written";
    case BMMRES_INVALIDFORMAT: return "not an image file the host reads";
    case BMMRES_CORRUPTFILE: return "the image file is damaged";
    case BMMRES_BADFILENAME: return "the file name has no image file ending the host knows";
    case BMMRES_INVALIDUSAGE: return "the bitmap holds no pixels";
    default: return "the image file cannot be used";
  }
}

}  // namespace sim
