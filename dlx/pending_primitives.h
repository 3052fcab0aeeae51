// Functions of this library whose work is built in a later step: each is registered now with its
// count and type rules, so scripts already get the right errors, and otherwise answers with the
// "not available yet" runtime error.
#pragma once

#include "primitive_args.h"

#define QZM_PENDING_PRIMITIVE(fn, args)                         \
  def_visible_primitive(fn, #fn);                               \
  Value* fn##_cf(Value** /*arg_list*/, int count) {             \
    qzmdlx::checkCount(_T(#fn), (args), count);                 \
    qzmdlx::notAvailableYet(_T(#fn));                           \
  }
