// The scene the holder benchmarks switch passes on, and the kinds of text a pass switch runs, each
// as the holder composes it and as an equivalent Lua 5.4 text over a Lua table that stands in for
// the scene (LuaStandInText). Shared by holder_bench, text_vs_lua_bench and their test, so that
// every bench times the same texts on the same scene.
#pragma once

#include <string>
#include <vector>

namespace bench {

// The twenty properties every holder captures, as the script array given to propertyName.
extern const char* const kHolderProperties;

// A fresh scene of `n` boxes, Box1 .. Boxn at [i,0,0], each with a standard material Mat<i>, the
// user properties "pass = beauty", the height animated (50 at frame 10) on every fourth box, and a
// holder on it that captures kHolderProperties. False when the script failed.
bool BuildHolderScene(int n);

// The whole-scene switch the benches time: one holder's call that captures, or restores, every
// holder of the scene for `pass`.
std::string CaptureAllText(int pass);
std::string RestoreAllText(int pass);

// One kind of text, for box i (1-based): `host` as the holder composes it, `lua` the same steps
// in Lua against the stand-in (same names, same number texts; an error where ours has one).
struct TextKind {
  const char* name;
  std::string (*host)(int i);
  std::string (*lua)(int i);
};
const std::vector<TextKind>& TextKinds();

// A Lua chunk that builds the stand-in for BuildHolderScene(n): the global table `nodes` by name,
// each node a table of the same twenty properties (the material a table of its own) and
// `controllers` with the animated height and the transform controllers; the helpers the Lua texts
// call (isproperty, getpropertycontroller, color, point3); and the empty global QZMIDA.
std::string LuaStandInText(int n);

}  // namespace bench
