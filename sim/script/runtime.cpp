#include "script/runtime.h"
#include "script/script_failure.h"
#include "script/published_calls.h"

#include "core/class_registry.h"
#include "core/on_scope_exit.h"
#include "core/text.h"
#include "maxapi.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/parser.h"
#include "script/primitive_table.h"
#include "script/scene_access.h"
#include "script/shape_cache.h"
#include "script/rotation_values.h"
#include "script/creation_level.h"
#include "script/transform_context.h"
#include "script/value_heap.h"

#include <string>
#include <utility>

namespace sim::rt {
namespace {

// A struct global of the host (theHold, bit, QZMsysinfo): members are primitives, properties go
// through the getters and setters defined for it.
class StructGlobal : public Value {
 public:
  explicit StructGlobal(std::string name) : name_(std::move(name)) {}
  Value* get_property(Value* prop) override {
    const std::string& p = static_cast<Name*>(prop)->lower;
    if (const StructProperty* sp = PrimitiveTable::instance().findProperty(name_, p)) {
      if (!sp->getter) throw RuntimeError("Property is write-only: ", prop);
      return sp->getter();
    }
    if (Primitive* f = PrimitiveTable::instance().findMember(name_, p)) return f;
    return unknown_property(this, prop);
  }
  Value* set_property(Value* prop, Value* v) override {
    const StructProperty* sp = PrimitiveTable::instance().findProperty(name_, static_cast<Name*>(prop)->lower);
    if (!sp) return unknown_property(this, prop);
    if (!sp->setter) throw RuntimeError("Cannot set read-only property: ", prop);
    return sp->setter(v);
  }
  bool has_property(Value* prop) override {
    const std::string& p = static_cast<Name*>(prop)->lower;
    return PrimitiveTable::instance().findProperty(name_, p) || PrimitiveTable::instance().findMember(name_, p);
  }
  Value* call_method(Value* name, Value** arg_list, int count) override {
    Primitive* f = PrimitiveTable::instance().findMember(name_, static_cast<Name*>(name)->lower);
    return f ? f->apply(arg_list, count) : nullptr;
  }
  void sprin1(CharStream* s) override { s->printf("#Struct:%s", name_.c_str()); }

 private:
  std::string name_;
};

// Super classes by their script names.
struct SuperClassName {
  const char* name;
  SClass_ID id;
};
constexpr SuperClassName kSuperClasses[] = {
    {"GeometryClass", GEOMOBJECT_CLASS_ID}, {"shape", SHAPE_CLASS_ID},       {"light", LIGHT_CLASS_ID},
    {"camera", CAMERA_CLASS_ID},            {"helper", HELPER_CLASS_ID},     {"SpacewarpObject", WSM_OBJECT_CLASS_ID},
    {"modifier", OSM_CLASS_ID},             {"material", MATERIAL_CLASS_ID}, {"textureMap", TEXMAP_CLASS_ID},
    {"FloatController", CTRL_FLOAT_CLASS_ID}, {"Point3Controller", CTRL_POINT3_CLASS_ID},
    {"Point4Controller", CTRL_POINT4_CLASS_ID}, {"PositionController", CTRL_POSITION_CLASS_ID},
    {"RotationController", CTRL_ROTATION_CLASS_ID}, {"ScaleController", CTRL_SCALE_CLASS_ID},
    {"Matrix3Controller", CTRL_MATRIX3_CLASS_ID}, {"System", SYSTEM_CLASS_ID},
};

// Second names some classes answer to besides their class name.
constexpr std::pair<const char*, const char*> kClassAliases[] = {
    {"standard", "StandardMaterial"},
};

ClassDesc* classByAlias(const std::string& lower) {
  for (const auto& [alias, className] : kClassAliases)
    if (lower == alias) return ClassRegistry::instance().findByName(className);
  return nullptr;
}

ValueMetaClass Number_class("Number");
ValueMetaClass Value_class("Value");

// The language's own value classes by name, for `as` and classOf comparisons.
Value* valueClassNamed(const std::string& lower) {
  static const std::pair<const char*, ValueMetaClass*> kClasses[] = {
      {"string", class_tag(String)},   {"integer", class_tag(Integer)}, {"float", class_tag(Float)},
      {"name", class_tag(Name)},       {"array", class_tag(Array)},     {"point3", class_tag(Point3Value)},
      {"point2", class_tag(Point2Value)}, {"point4", class_tag(Point4Value)}, {"booleanclass", class_tag(Boolean)},
      {"undefinedclass", class_tag(Undefined)}, {"time", class_tag(MSTime)}, {"quat", class_tag(Quat)},
      {"matrix3", class_tag(Matrix3)}, {"eulerangles", class_tag(EulerAngles)}, {"angleaxis", &AngleAxis_class}, {"color", class_tag(Color)},
      {"bitmap", class_tag(MAXBitMap)}, {"stringstream", class_tag(StringStream)},
      {"number", &Number_class}, {"value", &Value_class},
  };
  if (lower == "bitarray") return bitArrayClass();
  for (auto& [n, c] : kClasses)
    if (lower == n) return c;
  return nullptr;
}

}  // namespace

Runtime& Runtime::get() {
  static Runtime* rt = new Runtime;  // freed by shutdownScriptRuntime's clearing, never by a static destructor
  return *rt;
}

Runtime::Runtime() = default;

GlobalSlot& Runtime::global(const Symbol* name) {
  if (name->global) return *static_cast<GlobalSlot*>(name->global);
  auto& slot = globals_[name];
  if (!slot) slot = std::make_unique<GlobalSlot>();
  name->global = slot.get();
  return *slot;
}

GlobalSlot* Runtime::findGlobal(const Symbol* name) { return static_cast<GlobalSlot*>(name->global); }

Value* Runtime::getGlobal(std::string_view name) {
  GlobalSlot* g = findGlobal(intern(toLowerAscii(name)));
  return g && g->defined ? g->value.get() : nullptr;
}

void Runtime::setGlobal(std::string_view name, Value* v) {
  GlobalSlot& g = global(intern(toLowerAscii(name)));
  g.value = ValueRef(v);
  g.defined = true;
}

void Runtime::defineSystemGlobal(std::string_view name, SystemGetter getter, SystemSetter setter) {
  system_[intern(toLowerAscii(name))] = System{getter, setter};
}

bool Runtime::setSystemGlobal(const Symbol* name, Value* v) {
  auto it = system_.find(name);
  if (it == system_.end()) return false;
  if (!it->second.set) throw RuntimeError("Cannot assign to read-only global: ", Name::intern(std::string(name->lower).c_str()));
  it->second.set(v);
  return true;
}

Value* Runtime::builtin(const Symbol* name) {
  if (auto it = system_.find(name); it != system_.end()) return it->second.get();
  if (auto it = builtinCache_.find(name); it != builtinCache_.end()) return it->second.get();
  std::string lower(name->lower);
  Value* found = nullptr;
  if (Primitive* p = PrimitiveTable::instance().find(lower)) found = p;
  else if (PrimitiveTable::instance().isStruct(lower)) found = new StructGlobal(lower);
  else if (ClassDesc* cd = ClassRegistry::instance().findByName(lower)) found = new MAXClass(cd);
  else if (ClassDesc* aliased = classByAlias(lower)) found = new MAXClass(aliased);
  else if (Value* vc = valueClassNamed(lower)) found = vc;
  else {
    for (const SuperClassName& s : kSuperClasses)
      if (equalsIgnoreCase(s.name, lower)) found = superClassValue(s.id);
    if (!found) found = coreInterfaceNamed(lower);
  }
  if (!found) return nullptr;
  builtinCache_[name] = ValueRef(found);
  return found;
}

TimeValue Runtime::time() const { return timeOverride_ ? time_ : GetCOREInterface()->GetTime(); }

Value* Runtime::evalTextOrFail(std::string_view text) {
  // Texts of a shape run before reuse its compiled tree (script/shape_cache.h). Text run from
  // inside a script file includes files from beside that file.
  static const std::string noFile;
  return ShapeCache::get().evalText(text, runningFiles_.empty() ? noFile : runningFiles_.back());
}

Value* Runtime::evalText(std::string_view text) {
  Value* v = evalTextOrFail(text);
  if (failed(v)) Evaluator::raiseTopFailure();
  return v;
}

namespace {

// Nesting deeper than any real set of scripts: a file that fileIns itself ends here in a script
// error, well before the stack would.
constexpr size_t kMaxFileNesting = 32;

bool readScriptFile(const std::string& path, std::string& text) {
  FileStream in;
  in.make_permanent();  // a stack stream must not be counted or listed
  if (!in.open(path.c_str(), "rb")) return false;
  text = in.remaining_text();
  in.close();
  return true;
}

// The text of one top-level expression for a listing: without the blanks that end it.
std::string_view expressionText(std::string_view source, size_t from, size_t to) {
  std::string_view t = source.substr(from, to - from);
  while (!t.empty() && (t.back() == '\n' || t.back() == '\r' || t.back() == ' ' || t.back() == '\t' || t.back() == ';'))
    t.remove_suffix(1);
  return t;
}

}  // namespace

const std::string* Runtime::fileOfTree(const std::shared_ptr<SyntaxTree>& tree) {
  for (const auto& [known, path] : fileTrees_)
    if (!known.owner_before(tree) && !tree.owner_before(known)) return &path;
  return nullptr;
}

Value* Runtime::evalFile(const std::string& path, bool listing) {
  if (runningFiles_.size() >= kMaxFileNesting)
    throw RuntimeError("fileIn nested too deeply (a file that fileIns itself?): ", new String(path));
  std::string source;
  if (!readScriptFile(path, source)) throw RuntimeError("fileIn cannot open file: ", new String(path));
  script::Parser parser(source, 0, path);
  std::erase_if(fileTrees_, [](const auto& entry) { return entry.first.expired(); });
  fileTrees_.emplace_back(parser.tree(), path);
  runningFiles_.push_back(path);
  OnScopeExit leave([this] { runningFiles_.pop_back(); });
  bool evaluating = false;  // a syntax error has no place of its own: it names its line itself
  try {
    ValueRef last(undefined);
    for (;;) {
      AllocFrame frame;  // each expression's temporaries go when it is done
      size_t from = parser.offset();
      const Expr* e = parser.compileNext();
      if (!e) break;
      if (listing) {
        std::string text(expressionText(parser.tree()->source(), from, parser.offset()));
        thread_local(current_stdout)->printf("%s\n", text.c_str());
      }
      evaluating = true;
      last = ValueRef(Evaluator::evalTop(e, parser.tree()));
      evaluating = false;
    }
    return keep(last.get());
  } catch (const MAXScriptException&) {
    if (fileError_.error != std::current_exception()) {
      std::optional<ErrorPlace> place = Evaluator::takeErrorPlace();
      fileError_ = {std::current_exception(), evaluating ? std::move(place) : std::nullopt};
    }
    throw;
  }
}

bool Runtime::runFile(const std::string& path, FILE* errors) {
  FileStream probe;
  probe.make_permanent();
  if (!probe.open(path.c_str(), "rb")) {
    std::fprintf(errors, "-- Runtime error: cannot open script file: %s\n", path.c_str());
    return false;
  }
  probe.close();
  try {
    AllocFrame frame;
    evalFile(path, false);
  } catch (const MAXScriptException& e) {
    // Where it happened first, as the Listener says it; a syntax error names its line itself.
    std::optional<ErrorPlace> place;
    if (fileError_.error == std::current_exception()) place = std::move(fileError_.place);
    fileError_ = {};
    const std::string* file = place ? fileOfTree(place->tree) : nullptr;
    if (file)
      std::fprintf(errors, "-- Error occurred in %s; filename: %s; position: %u; line: %u\n",
                   place->function.empty() ? "anonymous codeblock" : place->function.c_str(), file->c_str(),
                   place->offset, place->line);
    std::fprintf(errors, "%s\n", e.text().c_str());
    return false;
  }
  return true;
}

void Runtime::clearGlobals() {
  fileError_ = {};
  for (auto& [sym, slot] : globals_) sym->global = nullptr;
  auto globals = std::move(globals_);
  globals_.clear();
  globals.clear();
  builtinCache_.clear();
}

Value* valueSuperClass(Value* v) { return is_number(v) ? &Number_class : &Value_class; }

Value* superClassValue(SClass_ID id) {
  // Never freed: a super class is one value for the whole run, so == compares by identity.
  static auto* values = new std::unordered_map<SClass_ID, Value*>;
  Value*& v = (*values)[id];
  if (!v) {
    const char* name = "MAXWrapper";
    for (const SuperClassName& s : kSuperClasses)
      if (s.id == id) name = s.name;
    v = (new MAXSuperClass(name, id))->make_permanent();
  }
  return v;
}

void defineSystemGlobal(std::string_view name, SystemGetter getter, SystemSetter setter) {
  Runtime::get().defineSystemGlobal(name, getter, setter);
}

void shutdownScriptRuntime() {
  Evaluator::forgetErrorPlaces();
  ShapeCache::get().clear();
  resetTransformContexts();
  resetLevel();
  Runtime::get().clearGlobals();
  ValueHeap::freeAll();
}

}  // namespace sim::rt
