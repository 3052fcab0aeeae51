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

// A node's name as the texts that read its properties carry it, escaped once for all of them, and
// the buffer those texts are composed in.
struct NodeTexts {
  explicit NodeTexts(std::string nodeName);
  std::string name;         // as the node has it
  std::string path;         // between the quotes of $'...'
  std::string pathLiteral;  // the same inside a "..." literal
  std::string buffer;
};

// Reads property `name` of `node` (whose name `texts` carries) for a node of `kind` into `out`,
// replacing what `out` held (its strings keep their room for the next property). `initial` selects
// the initial record's class tag of `scale`. `listenerLines` enables the lines that only the
// per-pass capture writes.
void ReadProperty(INode* node, NodeTexts& texts, const std::string& name, NodeKind kind, bool initial,
                  bool listenerLines, PropertyReading& out);
