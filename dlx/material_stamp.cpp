// A material's postage stamp as a script bitmap.
#include "pending_primitives.h"

QZM_PENDING_PRIMITIVE(QZMgetMaterialStamp, 2)
