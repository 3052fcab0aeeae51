// Functions and structs defined by script: closures over their defining scope, struct definitions
// (callable to make instances) and struct instances.
#pragma once

#include "maxscript/primitives.h"
#include "script/ast_names.h"
#include "script/scope.h"

#include <memory>
#include <vector>

namespace sim::rt {

class ScriptFunction : public ::Function {
 public:
  ScriptFunction(const script::Function* def, std::shared_ptr<SyntaxTree> tree, std::shared_ptr<Scope> closure);
  Value* apply(Value** arg_list, int count) override;
  // Calls with `self`'s members visible (struct methods).
  Value* applyWith(StructInstance* self, Value** arg_list, int count);
  void sprin1(CharStream* s) override;

  const script::Function* def;

 protected:
  void clear_contents() override { closure_.reset(); }

 private:
  // `mayFail`: the evaluator called, and takes a failure as kFailed.
  Value* applyWithOne(StructInstance* self, Value** arg_list, int count, bool mayFail);
  Value* applyMapped(StructInstance* self, Array* items, Value** arg_list, int count, bool mayFail);
  std::shared_ptr<SyntaxTree> tree_;  // keeps the definition's nodes alive
  std::shared_ptr<Scope> closure_;
  std::string name_;
};

class StructDef : public Value {
 public:
  StructDef(const script::Struct* def, std::shared_ptr<SyntaxTree> tree, std::shared_ptr<Scope> closure);
  // Makes an instance: positional arguments fill fields in order, keywords by name; then the
  // `on create` handler runs.
  Value* construct(Value** arg_list, int count);
  // Through the definition only its functions are reachable (`S.f 1`); they run without an
  // instance's data, the other functions still visible.
  Value* get_property(Value* prop) override;
  Value* call_method(Value* name, Value** arg_list, int count) override;
  bool has_property(Value* prop) override;
  void sprin1(CharStream* s) override;
  int fieldIndex(const Symbol* name) const;
  bool isPrivate(size_t field) const { return def->members[field].isPrivate; }
  // Runs `on create` / `on clone` with `self`'s members visible.
  void runHandler(const Expr* handler, StructInstance* self);
  // Refuses, as the language does, to reach a private member from outside the struct's own code.
  void checkAccess(size_t field) const;

  const script::Struct* def;
  std::vector<const Symbol*> fields;  // data members and methods, in definition order

 protected:
  void clear_contents() override { closure_.reset(); }

 private:
  friend class StructInstance;
  StructInstance* functionsOnly();
  std::shared_ptr<SyntaxTree> tree_;
  std::shared_ptr<Scope> closure_;
};

class StructInstance : public Value {
 public:
  explicit StructInstance(StructDef* def);
  ~StructInstance() override;
  Value* get_property(Value* prop) override;
  Value* set_property(Value* prop, Value* v) override;
  bool has_property(Value* prop) override;
  void get_property_names(Array* names) override;
  Value* call_method(Value* name, Value** arg_list, int count) override;
  void sprin1(CharStream* s) override;
  Value* copy_vf() override;

  ValueRef* field(const Symbol* name);
  StructDef* def() const { return static_cast<StructDef*>(def_.get()); }
  std::vector<ValueRef> values;

 protected:
  void clear_contents() override;

 private:
  ValueRef def_;
};

}  // namespace sim::rt
