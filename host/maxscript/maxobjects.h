// Script values that stand for host objects: nodes, objects, controllers, materials and the classes
// that make them. A wrapper keeps its object's memory while it lives; once the object is deleted
// from the scene, using the wrapper raises a script error instead of touching freed memory.
#pragma once

#include "maxscript/classes.h"
#include "plugapi.h"

class ReferenceTarget;
class INode;

class HOST_API MAXWrapper : public Value {
 public:
  explicit MAXWrapper(ReferenceTarget* target);
  ~MAXWrapper() override;
  // The object, or null once it was deleted.
  ReferenceTarget* target() const;
  // The object; raises "Attempt to access deleted scene object" once it was deleted.
  ReferenceTarget* checked() const;

  ReferenceTarget* to_reftarg() override { return checked(); }
  Mtl* to_mtl() override;
  Texmap* to_texmap() override;
  Control* to_controller() override;
  INode* to_node() override;
  bool equals(Value* other) override;
  void sprin1(CharStream* s) override;
  Value* get_property(Value* prop) override;
  Value* set_property(Value* prop, Value* v) override;
  bool has_property(Value* prop) override;
  void get_property_names(Array* names) override;
  Value* get_index(Value* index) override;
  Value* set_index(Value* index, Value* v) override;
  Value* call_method(Value* name, Value** arg_list, int count) override;
  // A clone of the object (`copy m`), made through the host's remapping clone.
  Value* copy_vf() override;

 private:
  ReferenceTarget* target_;
};

class HOST_API MAXNode : public MAXWrapper {
 public:
  explicit MAXNode(INode* node);
  static Value* intern(INode* node);
  INode* node() const;
  INode* to_node() override;
  Array* as_collection() override;
  void sprin1(CharStream* s) override;
  // A new node beside this one with a copy of its object (`copy $Box01`).
  Value* copy_vf() override;
};

// A class as a script value (`Box`, `QZMMaterial`, `bezier_float`): calling it makes an instance.
class HOST_API MAXClass : public Value {
 public:
  explicit MAXClass(ClassDesc* cd);
  ClassDesc* cd;
  void sprin1(CharStream* s) override;
  bool equals(Value* other) override;
  Value* get_property(Value* prop) override;  // classID, superClassID, category
  bool has_property(Value* prop) override;
};

// A super class as a script value (`GeometryClass`, `light`, `material`).
class HOST_API MAXSuperClass : public Value {
 public:
  MAXSuperClass(const TCHAR* name, SClass_ID id);
  const TCHAR* name;
  SClass_ID id;
  void sprin1(CharStream* s) override;
};

HOST_API extern ValueMetaClass MAXWrapper_class;
HOST_API extern ValueMetaClass MAXClass_class;
HOST_API extern ValueMetaClass MAXSuperClass_class;
