// Primitives about the language itself: execute, errors, properties and classes of values.
#include "core/class_registry.h"
#include "inode.h"
#include "maxscript/maxobjects.h"
#include "maxscript/maxscript.h"
#include "script/evaluator.h"
#include "script/file_paths.h"
#include "script/runtime.h"
#include "script/scene_access.h"
#include "script/script_function.h"

#include <filesystem>
#include <string>
#include <system_error>

using namespace sim::rt;

// execute "text": runs the text in the global scope and answers its last value.
def_visible_primitive(execute, "execute");
Value* execute_cf(Value** arg_list, int count) {
  check_arg_count(execute, 1, count);
  if (!is_string(arg_list[0])) return arg_list[0];  // anything else is its own value, as in the language
  return Runtime::get().evalText(arg_list[0]->to_string());
}

def_visible_primitive(getCurrentException, "getCurrentException");
Value* getCurrentException_cf(Value**, int) { return new ::String(Runtime::get().currentException); }

def_visible_primitive(isProperty, "isProperty");
Value* isProperty_cf(Value** arg_list, int count) {
  check_arg_count(isProperty, 2, count);
  Value* name = is_name(arg_list[1]) ? arg_list[1] : Name::intern(arg_list[1]->to_string());
  return bool_result(arg_list[0]->has_property(name));
}

def_visible_primitive(hasProperty, "hasProperty");
Value* hasProperty_cf(Value** arg_list, int count) {
  check_arg_count(hasProperty, 2, count);
  Value* name = is_name(arg_list[1]) ? arg_list[1] : Name::intern(arg_list[1]->to_string());
  return bool_result(arg_list[0]->has_property(name));
}

def_visible_primitive(getProperty, "getProperty");
Value* getProperty_cf(Value** arg_list, int count) {
  check_arg_count(getProperty, 2, count);
  Value* name = is_name(arg_list[1]) ? arg_list[1] : Name::intern(arg_list[1]->to_string());
  return arg_list[0]->get_property(name);
}

def_visible_primitive(setProperty, "setProperty");
Value* setProperty_cf(Value** arg_list, int count) {
  check_arg_count(setProperty, 3, count);
  Value* name = is_name(arg_list[1]) ? arg_list[1] : Name::intern(arg_list[1]->to_string());
  arg_list[0]->set_property(name, arg_list[2]);
  return arg_list[2];
}

def_visible_primitive(getPropNames, "getPropNames");
Value* getPropNames_cf(Value** arg_list, int count) {
  check_arg_count(getPropNames, 1, count);
  one_typed_value_local(Array* result);
  vl.result = new Array;
  arg_list[0]->get_property_names(vl.result);
  return_value(vl.result);
}

namespace {

ReferenceTarget* objectOf(Value* v) {
  auto* w = dynamic_cast<MAXWrapper*>(v);
  if (!w) return nullptr;
  ReferenceTarget* t = w->checked();
  if (auto* node = dynamic_cast<INode*>(t)) return baseObjectOf(node);
  return t;
}

}  // namespace

// classOf: a node answers its object's class (Box), any host object its class, other values
// their value class.
def_visible_primitive(classOf, "classOf");
Value* classOf_cf(Value** arg_list, int count) {
  check_arg_count(classOf, 1, count);
  Value* v = arg_list[0];
  if (dynamic_cast<MAXWrapper*>(v)) {
    ReferenceTarget* t = objectOf(v);
    if (!t) return undefined;
    if (ClassDesc* cd = sim::ClassRegistry::instance().find(t->SuperClassID(), t->ClassID())) return new MAXClass(cd);
    return undefined;
  }
  if (auto* instance = dynamic_cast<sim::rt::StructInstance*>(v)) return instance->def();
  return v->tag ? static_cast<Value*>(v->tag) : undefined;
}

def_visible_primitive(superClassOf, "superClassOf");
Value* superClassOf_cf(Value** arg_list, int count) {
  check_arg_count(superClassOf, 1, count);
  Value* v = arg_list[0];
  if (dynamic_cast<MAXWrapper*>(v)) {
    ReferenceTarget* t = objectOf(v);
    if (!t) return undefined;
    return sim::rt::superClassValue(t->SuperClassID());
  }
  return sim::rt::valueSuperClass(v);
}

namespace {

bool isScriptFile(const std::filesystem::path& p) {
  std::error_code ec;
  return std::filesystem::is_regular_file(p, ec);
}

// A name with no folder of its own is looked for in the current folder first, then beside the
// script that runs fileIn, so that a script's helpers load from wherever it is run.
std::string resolveScriptName(const std::string& name) {
  std::filesystem::path p = nativePath(name);
  if (p.is_absolute() || isScriptFile(p)) return name;
  const auto& running = Runtime::get().runningFiles();
  if (!running.empty()) {
    const std::string& including = running.back();
    std::string beside = including.substr(0, folderPartLength(including)) + name;
    if (isScriptFile(nativePath(beside))) return beside;
  }
  return name;
}

}  // namespace

// fileIn "name.ms" [quiet:false]: runs the file's expressions at top level; the last one's value.
def_visible_primitive(fileIn, "fileIn");
Value* fileIn_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError(_T("fileIn"), 1, positional);
  Value* quiet = key_arg_or_default(quiet, true_value);
  if (!is_bool(quiet)) throw ConversionError(quiet, "BooleanClass");
  return Runtime::get().evalFile(resolveScriptName(fileNameArg(arg_list[0])), !quiet->to_bool());
}
