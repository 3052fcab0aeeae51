#include "maxscript/value.h"
#include "script/script_failure.h"

#include "maxscript/classes.h"
#include "maxscript/exceptions.h"
#include "maxscript/streams.h"
#include "maxscript/thread_locals.h"
#include "script/value_heap.h"

#include <algorithm>

namespace {

// Values made while a frame is open, one entry per value (each holding one count).
std::vector<std::vector<Value*>> g_allocFrames;
Value* g_liveHead = nullptr;
size_t g_liveCount = 0;

MAXScript_TLS g_tls;

}  // namespace

DWORD thread_locals_index = 0;

MAXScript_TLS* maxscript_tls() {
  if (!g_tls.current_stdout) g_tls.current_stdout = the_listener->edit_stream;
  return &g_tls;
}

void init_thread_locals() {}

void push_alloc_frame() { g_allocFrames.emplace_back(); }

void pop_alloc_frame() {
  if (g_allocFrames.empty()) return;
  std::vector<Value*> made = std::move(g_allocFrames.back());
  g_allocFrames.pop_back();
  // A function's result (return_value) outlives the frames it opened: it passes to the caller's.
  Value* result = thread_local(current_result);
  for (Value* v : made) {
    if (v == result && !g_allocFrames.empty()) g_allocFrames.back().push_back(v);
    else v->release();
  }
}

namespace sim {
AllocFrame::AllocFrame() { push_alloc_frame(); }
AllocFrame::~AllocFrame() { pop_alloc_frame(); }
}  // namespace sim

void ValueHeap::link(Value* v) {
  v->nextLive_ = g_liveHead;
  v->prevLive_ = nullptr;
  if (g_liveHead) g_liveHead->prevLive_ = v;
  g_liveHead = v;
  ++g_liveCount;
}

void ValueHeap::unlink(Value* v) {
  if (v->prevLive_) v->prevLive_->nextLive_ = v->nextLive_;
  else if (g_liveHead == v) g_liveHead = v->nextLive_;
  else return;  // not on the list
  if (v->nextLive_) v->nextLive_->prevLive_ = v->prevLive_;
  v->prevLive_ = v->nextLive_ = nullptr;
  --g_liveCount;
}

size_t ValueHeap::liveCount() { return g_liveCount; }

bool ValueHeap::inFrame() { return !g_allocFrames.empty(); }

void ValueHeap::freeAll() {
  while (!g_allocFrames.empty()) pop_alloc_frame();
  std::vector<Value*> all;
  for (Value* v = g_liveHead; v; v = v->nextLive_) all.push_back(v);
  // Pin everything, let containers drop what they hold (nothing reaches zero), then free each.
  for (Value* v : all) v->addRef();
  for (Value* v : all) v->clear_contents();
  for (Value* v : all) {
    v->refs_ = 1;
    v->release();
  }
}

Value::Value() {
  ValueHeap::link(this);
  if (!g_allocFrames.empty()) {
    ++refs_;
    g_allocFrames.back().push_back(this);
  }
}

Value::~Value() { ValueHeap::unlink(this); }

// A container frees what it holds from its destructor, and each element that goes may be a
// container too: freeing in place would recurse once per level of nesting. So a value freed while
// another is being freed joins a queue that the outermost call empties, one value at a time.
void Value::destroy() {
  static auto* pending = new std::vector<Value*>;  // never freed: values may go while statics do
  static bool freeing = false;
  pending->push_back(this);
  if (freeing) return;
  freeing = true;
  while (!pending->empty()) {
    Value* v = pending->back();
    pending->pop_back();
    delete v;
  }
  freeing = false;
}

Value* Value::make_permanent() {
  if (refs_ < 0) return this;
  ValueHeap::unlink(this);
  for (auto it = g_allocFrames.rbegin(); it != g_allocFrames.rend(); ++it) {
    auto pos = std::find(it->rbegin(), it->rend(), this);
    if (pos != it->rend()) {
      it->erase(std::next(pos).base());
      break;
    }
  }
  refs_ = -1;
  return this;
}

// ---- conversions: a value converts to nothing unless its class says otherwise --------------------

int Value::to_int() { throw ConversionError(this, "Integer"); }
float Value::to_float() { throw ConversionError(this, "Float"); }
double Value::to_double() { return to_float(); }
BOOL Value::to_bool() { throw ConversionError(this, "Boolean"); }
const TCHAR* Value::to_string() { throw ConversionError(this, "String"); }
TimeValue Value::to_timevalue() { throw ConversionError(this, "Time"); }
INode* Value::to_node() { throw ConversionError(this, "MAXNode"); }
Mtl* Value::to_mtl() { throw ConversionError(this, "Material"); }
Texmap* Value::to_texmap() { throw ConversionError(this, "TextureMap"); }
ReferenceTarget* Value::to_reftarg() { throw ConversionError(this, "MAXObject"); }
Control* Value::to_controller() { throw ConversionError(this, "Controller"); }
Point2 Value::to_point2() { throw ConversionError(this, "Point2"); }
Point3 Value::to_point3() { throw ConversionError(this, "Point3"); }
Mesh* Value::to_mesh() { throw ConversionError(this, "Mesh"); }
Bitmap* Value::to_bitmap() { throw ConversionError(this, "BitMap"); }

void Value::sprin1(CharStream* s) {
  s->puts("<");
  s->puts(tag ? tag->name : "Value");
  s->puts(">");
}

Value* Value::get_property(Value* prop) { return unknown_property(this, prop); }
Value* Value::set_property(Value* prop, Value*) { return unknown_property(this, prop); }
Value* Value::get_index(Value*) { throw NoMethodError("get", this); }
Value* Value::set_index(Value*, Value*) { throw NoMethodError("put", this); }

namespace sim::rt {
Value* keep(Value* v) {
  if (!v || v->is_permanent() || g_allocFrames.empty()) return v;
  v->addRef();
  g_allocFrames.back().push_back(v);
  return v;
}
}  // namespace sim::rt
