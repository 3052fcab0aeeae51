#include "scene/layers.h"

#include "core/c_format.h"
#include "core/text.h"
#include "hold.h"
#include "scene/change_restore.h"
#include "scene/scene_node.h"
#include "scene/scene_walk.h"

namespace sim {

namespace {

// Wire colours new layers get in turn (packed, red in the low byte); layer "0" has the first.
constexpr DWORD kLayerPalette[] = {0x00B0B0B0, 0x0000A0E0, 0x0040C040, 0x00E08040, 0x00C060C0, 0x0060C0C0};
constexpr size_t kPaletteSize = sizeof(kLayerPalette) / sizeof(kLayerPalette[0]);

bool validName(std::string_view name) { return !name.empty() && name.find('\0') == std::string_view::npos; }

// The list as a whole, before and after one change.
class LayerListRestore : public RestoreObj {
 public:
  LayerListRestore(LayerList* list, LayerList::State before, LayerList::State after, void (*apply)(LayerList*, const LayerList::State&))
      : list_(list), before_(std::move(before)), after_(std::move(after)), apply_(apply) {}
  void Restore(int) override { apply_(list_, before_); }
  void Redo() override { apply_(list_, after_); }
  TSTR Description() override { return TSTR("Layers"); }

 private:
  LayerList* list_;
  LayerList::State before_, after_;
  void (*apply_)(LayerList*, const LayerList::State&);
};

}  // namespace

// ---- a layer --------------------------------------------------------------------------------------

Layer::Layer(std::string name, DWORD wire) : name_(std::move(name)), wire_(wire) {}

void Layer::setFlag(bool Layer::*field, bool on, const char* what) {
  if (this->*field == on) return;
  recordChange(this, !on, on, [this, field](const bool& v) { this->*field = v; }, what);
  this->*field = on;
}

void Layer::setHidden(bool on) { setFlag(&Layer::hidden_, on, "Layer hidden"); }
void Layer::setFrozen(bool on) { setFlag(&Layer::frozen_, on, "Layer frozen"); }
void Layer::setRenderable(bool on) { setFlag(&Layer::renderable_, on, "Layer renderable"); }

void Layer::setWireColor(DWORD c) {
  if (c == wire_) return;
  recordChange(this, wire_, c, [this](const DWORD& v) { wire_ = v; }, "Layer colour");
  wire_ = c;
}

// ---- the list -------------------------------------------------------------------------------------

LayerList::LayerList() { reset(); }

Layer* LayerList::at(int i) const {
  return i >= 0 && i < count() ? static_cast<Layer*>(layers_[static_cast<size_t>(i)].get()) : nullptr;
}

int LayerList::indexOf(const Layer* layer) const {
  for (int i = 0; i < count(); ++i)
    if (layers_[static_cast<size_t>(i)].get() == layer) return i;
  return -1;
}

Layer* LayerList::find(std::string_view name) const {
  for (int i = 0; i < count(); ++i)
    if (equalsIgnoreCase(at(i)->name(), name)) return at(i);
  return nullptr;
}

LayerList::State LayerList::state() const { return State{layers_, current_}; }

void LayerList::apply(const State& s) {
  layers_ = s.layers;
  current_ = s.current;
}

void LayerList::record(const State& before) {
  if (!theHold.Holding()) return;
  theHold.Put(new LayerListRestore(this, before, state(), [](LayerList* l, const State& s) { l->apply(s); }));
}

Layer* LayerList::create(std::string_view name) {
  std::string chosen(name);
  if (name.empty()) {
    for (int k = 1; k < 1000000 && (chosen.empty() || find(chosen)); ++k) chosen = c_format("Layer%03d", k);
  }
  if (!validName(chosen) || find(chosen)) return nullptr;
  auto* layer = new Layer(chosen, kLayerPalette[static_cast<size_t>(count()) % kPaletteSize]);
  State before = state();
  layers_.emplace_back(layer);
  record(before);
  return layer;
}

bool LayerList::remove(Layer* layer) {
  int i = indexOf(layer);
  if (i <= 0 || layer == current_ || !nodesOf(layer).empty()) return false;
  State before = state();
  layers_.erase(layers_.begin() + i);
  record(before);
  return true;
}

bool LayerList::setCurrent(Layer* layer) {
  if (!contains(layer)) return false;
  if (layer == current_) return true;
  State before = state();
  current_ = layer;
  record(before);
  return true;
}

bool LayerList::rename(Layer* layer, std::string_view name) {
  int i = indexOf(layer);
  if (i <= 0 || !validName(name)) return false;
  if (Layer* other = find(name); other && other != layer) return false;
  if (layer->name_ == name) return true;
  recordChange(layer, layer->name_, std::string(name), [layer](const std::string& v) { layer->name_ = v; }, "Layer name");
  layer->name_ = std::string(name);
  return true;
}

Layer* LayerList::layerOf(INode* node) const {
  auto* n = dynamic_cast<SceneNode*>(node);
  auto* own = n ? static_cast<Layer*>(n->layerRef()) : nullptr;
  return own && contains(own) ? own : defaultLayer();
}

void LayerList::moveNode(INode* node, Layer* layer) {
  auto* n = dynamic_cast<SceneNode*>(node);
  if (!n || n->IsRootNode() || !contains(layer)) return;
  n->setLayerRef(layer);
}

std::vector<INode*> LayerList::nodesOf(const Layer* layer) const {
  std::vector<INode*> out;
  forEachSceneNode([&](INode* n) {
    if (layerOf(n) == layer) out.push_back(n);
  });
  return out;
}

void LayerList::reset() {
  layers_.clear();
  layers_.emplace_back(new Layer("0", kLayerPalette[0]));
  current_ = at(0);
}

void LayerList::replace(std::vector<Layer*> layers, Layer* current) {
  layers_.clear();
  for (Layer* l : layers) layers_.emplace_back(l);
  current_ = contains(current) ? current : at(0);
}

bool LayerList::isDefault() const {
  const Layer* l = at(0);
  return count() == 1 && current_ == l && !l->hidden() && !l->frozen() && l->renderable() && l->wireColor() == kLayerPalette[0];
}

}  // namespace sim
