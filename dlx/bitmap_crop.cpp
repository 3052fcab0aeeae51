// Cropping rendered images onto a background, with an overlay and a text stamp.
#include "pending_primitives.h"

QZM_PENDING_PRIMITIVE(QZMCropBitmap, 19)
