// The scene's layers. Layer "0" always exists and comes first; one layer is current, and new nodes
// go to it. A node keeps a hold on its layer (SceneNode::layerRef); a node whose layer is no longer
// in the list is on layer "0", so a layer taken away by an undo never leaves a node nowhere.
//
// What a layer means for its nodes is decided in one place, SceneNode::IsNodeHidden: a hidden
// layer hides its nodes, and a non-renderable one hides them from the renderer. Each node's own
// flags stay as they were set (`isHidden`, `isFrozen` and `renderable` answer the node's own).
//
// Every change records itself in theHold: the list (new, deleted, current) as a whole, a layer's
// name and flags on the layer, a node's layer on the node.
#pragma once

#include "core/ref_graph.h"
#include "ref.h"

#include <string>
#include <string_view>
#include <vector>

class INode;

namespace sim {

inline const Class_ID kLayerClassID(0x4e2b3a10, 0x10);

class HOST_API Layer : public ReferenceTarget {
 public:
  explicit Layer(std::string name, DWORD wire);
  SClass_ID SuperClassID() override { return REF_TARGET_CLASS_ID; }
  Class_ID ClassID() override { return kLayerClassID; }
  void GetClassName(TSTR& s) override { s = "LayerProperties"; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }

  const std::string& name() const { return name_; }
  bool hidden() const { return hidden_; }
  bool frozen() const { return frozen_; }
  bool renderable() const { return renderable_; }
  DWORD wireColor() const { return wire_; }
  void setHidden(bool on);
  void setFrozen(bool on);
  void setRenderable(bool on);
  void setWireColor(DWORD c);

 private:
  friend class LayerList;
  void setFlag(bool Layer::*field, bool on, const char* what);
  std::string name_;
  bool hidden_ = false, frozen_ = false, renderable_ = true;
  DWORD wire_;
};

class HOST_API LayerList {
 public:
  LayerList();
  int count() const { return static_cast<int>(layers_.size()); }
  // 0-based; null out of range.
  Layer* at(int i) const;
  int indexOf(const Layer* layer) const;
  bool contains(const Layer* layer) const { return indexOf(layer) >= 0; }
  // By name, without case; null when there is none.
  Layer* find(std::string_view name) const;
  Layer* current() const { return current_; }
  Layer* defaultLayer() const { return at(0); }

  // A new layer with that name (or the first free "LayerNNN"); null when the name is taken or empty.
  Layer* create(std::string_view name = {});
  // Takes an empty layer out of the scene; never "0" nor the current one.
  bool remove(Layer* layer);
  bool setCurrent(Layer* layer);
  // False when the name is empty, taken by another layer, or the layer is "0".
  bool rename(Layer* layer, std::string_view name);

  // The layer `node` is on: its own when that is in the scene, else "0".
  Layer* layerOf(INode* node) const;
  // Moves `node` to `layer` (a layer of this list).
  void moveNode(INode* node, Layer* layer);
  // The scene's nodes on `layer`, in the scene walk's order.
  std::vector<INode*> nodesOf(const Layer* layer) const;

  // Back to layer "0" alone, current, with its first settings.
  void reset();
  // Replaces the layers with those of a loaded scene: `layers` starts with "0"; `current` is one of them.
  void replace(std::vector<Layer*> layers, Layer* current);
  // Whether the layers are those of a new scene, which a scene file need not mention.
  bool isDefault() const;

  struct State {
    std::vector<KeepAlive> layers;
    Layer* current = nullptr;
  };

 private:
  State state() const;
  void apply(const State& s);
  void record(const State& before);
  std::vector<KeepAlive> layers_;
  Layer* current_ = nullptr;
};

}  // namespace sim
