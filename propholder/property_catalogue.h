// The property catalogue: what each name in a holder's propertyName means on each kind of node,
// and how its value text, class tag and controller are read. Node flags and a few node settings are
// read directly; every other name is a script-visible property read by composed script text.
#pragma once

#include "control.h"
#include "inode.h"

#include <string>

enum class NodeKind { Geometry, Light, Camera, Other };
// Geometry covers shapes and helpers: all three use the full catalogue.
NodeKind KindOfSuperClass(SClass_ID sclass);

struct PropertyReading {
  std::string value;                 // the value text
  std::string classTag;              // the class tag (replaced by the object index for objects)
  Control* controller = nullptr;     // the property's controller, when its script found one
  ReferenceTarget* object = nullptr; // the value, when it is a reference target or texture map
  bool isTexmap = false;
  bool isMaterialSlot = false;       // the QZMMaterial row
};

// Reads property `name` of `node` (named `nodeName` in script texts) for a node of `kind`.
// `initial` selects the initial record's class tag of `scale`. `listenerLines` enables the lines
// that only the per-pass capture writes.
PropertyReading ReadProperty(INode* node, const std::string& nodeName, const std::string& name, NodeKind kind,
                             bool initial, bool listenerLines);
