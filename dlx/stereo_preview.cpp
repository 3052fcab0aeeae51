// Stereo pairs composed into one image, and preview images.
#include "pending_primitives.h"

QZM_PENDING_PRIMITIVE(QZMStereoBitmap, 3)
QZM_PENDING_PRIMITIVE(QZMCreatePreview, 17)
