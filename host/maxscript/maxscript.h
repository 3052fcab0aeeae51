// The script runtime as plug-ins see it.
#pragma once

#include "maxscript/bitmaps.h"
#include "maxscript/classes.h"
#include "maxscript/exceptions.h"
#include "maxscript/execute.h"
#include "maxscript/primitives.h"
#include "maxscript/streams.h"
#include "maxscript/thread_locals.h"
#include "maxscript/value.h"
