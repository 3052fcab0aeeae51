// The keys of one leaf controller: a value without keys, or keys in time order, the curve between
// them shaped by their tangents (key_curve.h) and the end keys' values held before and after.
#pragma once

#include "color.h"
#include "interval.h"
#include "point3.h"
#include "quat.h"
#include "scene/controllers/key_curve.h"

#include <algorithm>
#include <vector>

namespace sim {

template <class T>
class KeyTrack {
 public:
  explicit KeyTrack(T value = T()) : constant_(value) {}

  bool animated() const { return !keys_.empty(); }
  int count() const { return static_cast<int>(keys_.size()); }
  const Key<T>& key(int i) const { return keys_[static_cast<size_t>(i)]; }
  const std::vector<Key<T>>& keys() const { return keys_; }

  T value(TimeValue t) const {
    if (keys_.empty()) return constant_;
    if (t <= keys_.front().time) return keys_.front().value;
    if (t >= keys_.back().time) return keys_.back().value;
    auto next = std::upper_bound(keys_.begin(), keys_.end(), t, [](TimeValue tt, const Key<T>& k) { return tt < k.time; });
    return curve::between(keys_, static_cast<size_t>(next - keys_.begin()) - 1, t);
  }

  // An instant when the value changes at `t`, forever otherwise.
  Interval validity(TimeValue t) const { return keys_.size() > 1 ? Interval(t, t) : FOREVER; }

  int indexAt(TimeValue t) const {
    auto it = std::lower_bound(keys_.begin(), keys_.end(), t, [](const Key<T>& k, TimeValue tt) { return k.time < tt; });
    return it != keys_.end() && it->time == t ? static_cast<int>(it - keys_.begin()) : -1;
  }

  void setKey(TimeValue t, const T& v) {
    auto it = std::lower_bound(keys_.begin(), keys_.end(), t, [](const Key<T>& k, TimeValue tt) { return k.time < tt; });
    if (it != keys_.end() && it->time == t) it->value = v;
    else keys_.insert(it, Key<T>{t, v});
  }

  bool removeKey(TimeValue t) {
    int i = indexAt(t);
    if (i < 0) return false;
    // The last key's value stays as the track's value.
    if (keys_.size() == 1) constant_ = keys_.front().value;
    keys_.erase(keys_.begin() + i);
    return true;
  }

  // Moves key `i` to `t`, keeping time order; a key already at `t` gives way. Answers the key's new
  // index.
  int moveKey(int i, TimeValue t) {
    Key<T> k = keys_[static_cast<size_t>(i)];
    keys_.erase(keys_.begin() + i);
    k.time = t;
    auto it = std::lower_bound(keys_.begin(), keys_.end(), t, [](const Key<T>& e, TimeValue tt) { return e.time < tt; });
    if (it != keys_.end() && it->time == t) *it = k;
    else it = keys_.insert(it, k);
    return static_cast<int>(it - keys_.begin());
  }

  void select(int i, bool on) { keys_[static_cast<size_t>(i)].selected = on; }
  void setTangent(int i, bool in, TangentType type) {
    Key<T>& k = keys_[static_cast<size_t>(i)];
    (in ? k.inTangent : k.outTangent) = type;
  }

  // Moves every key, or only the selected ones, by `dt`. A moved key takes the place of a key that
  // stays where it lands, as moveKey does.
  void shiftKeys(TimeValue dt, bool selectedOnly) {
    std::vector<Key<T>> moved, kept;
    for (const Key<T>& k : keys_) {
      if (selectedOnly && !k.selected) kept.push_back(k);
      else {
        moved.push_back(k);
        moved.back().time += dt;
      }
    }
    keys_ = std::move(kept);
    for (const Key<T>& k : moved) {
      auto it = std::lower_bound(keys_.begin(), keys_.end(), k.time, [](const Key<T>& e, TimeValue tt) { return e.time < tt; });
      if (it != keys_.end() && it->time == k.time) *it = k;
      else keys_.insert(it, k);
    }
  }

  // Removes the selected keys; when none is left, the value the track had at its first key stays.
  void removeSelected() {
    if (keys_.empty()) return;
    T first = keys_.front().value;
    keys_.erase(std::remove_if(keys_.begin(), keys_.end(), [](const Key<T>& k) { return k.selected; }), keys_.end());
    if (keys_.empty()) constant_ = first;
  }

  void clearKeys() {
    if (!keys_.empty()) constant_ = value(keys_.front().time);
    keys_.clear();
  }

  void setConstant(const T& v) { constant_ = v; }
  const T& constant() const { return constant_; }
  // Replaces value and keys at once (scene loading); false, changing nothing, unless the keys are
  // in strictly increasing time order.
  bool assign(const T& constant, std::vector<Key<T>> keys) {
    for (size_t i = 1; i < keys.size(); ++i)
      if (!(keys[i - 1].time < keys[i].time)) return false;
    constant_ = constant;
    keys_ = std::move(keys);
    return true;
  }
  template <class F>
  void forEachKeyValue(F&& f) {
    for (auto& k : keys_) f(k.value);
  }

  bool operator==(const KeyTrack& o) const { return constant_ == o.constant_ && keys_ == o.keys_; }

 private:
  T constant_;
  std::vector<Key<T>> keys_;
};

}  // namespace sim
