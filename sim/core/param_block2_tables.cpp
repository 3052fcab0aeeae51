// Table parameters of the host's parameter block: growing, shrinking, inserting and deleting
// entries, and the undo records of every change a block makes.
//
// Every table edit is an insertion of entries at a position or a removal of a range. Its undo
// record holds only the entries concerned (the removed ones, or the position and number of the
// inserted ones), never a copy of the table: undo of an insertion removes the range again, undo of
// a removal puts the held entries back. Removed targets stay alive in the record.
#include "core/param_block2.h"

#include "inode.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

namespace sim {

namespace {

constexpr int kMaxTable = 1 << 20;

template <class V> constexpr bool isPoint3Like = std::is_same_v<V, ::Point3> || std::is_same_v<V, Color>;
template <class V> constexpr bool isPoint4Like = std::is_same_v<V, ::Point4> || std::is_same_v<V, AColor>;
template <class> constexpr bool alwaysFalse = false;

::Point3 asPoint3(const ::Point3& v) { return v; }
::Point3 asPoint3(const Color& c) { return ::Point3(c.r, c.g, c.b); }
::Point4 asPoint4(const ::Point4& v) { return v; }
::Point4 asPoint4(const AColor& c) { return ::Point4(c.r, c.g, c.b, c.a); }

template <class T> void moveOut(std::vector<T>& col, int at, int n, std::vector<Entry>& out) {
  for (int k = at; k < at + n; ++k) out.emplace_back(std::in_place_type<T>, std::move(col[static_cast<size_t>(k)]));
  col.erase(col.begin() + at, col.begin() + at + n);
}

template <class T> void moveIn(std::vector<T>& col, int at, std::vector<Entry>& entries) {
  std::vector<T> values;
  values.reserve(entries.size());
  for (Entry& e : entries) {
    T* v = std::get_if<T>(&e);
    values.push_back(v ? std::move(*v) : T{});
  }
  col.insert(col.begin() + at, std::make_move_iterator(values.begin()), std::make_move_iterator(values.end()));
}

}  // namespace

// ---- undo records --------------------------------------------------------------------------------

// Undo of one entry: holds the other value of the entry and swaps it in, on undo and again on redo.
class ParamEntryRestore : public RestoreObj {
 public:
  ParamEntryRestore(ParamBlock2* pb, int p, int tab, Entry&& other)
      : pb_(pb), hold_(pb, pb->HasDependents() != FALSE), p_(p), tab_(tab), other_(std::move(other)) {}
  void Restore(int) override { swap(); }
  void Redo() override { swap(); }
  TSTR Description() override { return TSTR("Parameter"); }

 private:
  void swap() {
    if (pb_->IsDeleted() || tab_ >= pb_->countAt(p_)) return;
    if (pb_->swapEntry(p_, tab_, other_)) pb_->changed(p_, tab_);
  }
  ParamBlock2* pb_;
  // Keeps the block's memory. A block that was referenced when the change was made is owned by the
  // reference system, so when this is its last hold and nothing references it, it goes; a block
  // nobody referenced belongs to whoever made it.
  KeepAlive hold_;
  int p_, tab_;
  Entry other_;
};

// Undo of a table edit: `n_` entries at `at_`, either in the table or held here.
class ParamTableRestore : public RestoreObj {
 public:
  // After an insertion: the entries are in the table.
  ParamTableRestore(ParamBlock2* pb, int p, int at, int n)
      : pb_(pb), hold_(pb, pb->HasDependents() != FALSE), p_(p), at_(at), n_(n), inTable_(true) {}
  // After a removal: the entries are held here.
  ParamTableRestore(ParamBlock2* pb, int p, int at, std::vector<Entry>&& removed, std::vector<KeepAlive>&& controllers)
      : pb_(pb), hold_(pb, pb->HasDependents() != FALSE), p_(p), at_(at), n_(static_cast<int>(removed.size())),
        inTable_(false), entries_(std::move(removed)), controllers_(std::move(controllers)) {}
  void Restore(int) override { toggle(); }
  void Redo() override { toggle(); }
  TSTR Description() override { return TSTR("Parameter table"); }

 private:
  void toggle() {
    if (pb_->IsDeleted()) return;
    const int count = pb_->countAt(p_);
    if (inTable_) {
      if (at_ + n_ > count) return;
      entries_ = pb_->removeEntries(p_, at_, n_, controllers_);
    } else {
      if (at_ > count) return;
      pb_->insertEntries(p_, at_, std::move(entries_), std::move(controllers_));
      entries_.clear();
      controllers_.clear();
    }
    inTable_ = !inTable_;
    pb_->changed(p_, at_);
  }
  ParamBlock2* pb_;
  KeepAlive hold_;
  int p_, at_, n_;
  bool inTable_;
  std::vector<Entry> entries_;
  std::vector<KeepAlive> controllers_;
};

void ParamBlock2::recordEntry(int p, int tab, Entry&& previous) {
  theHold.Put(new ParamEntryRestore(this, p, tab, std::move(previous)));
}

// ---- moving entries in and out -------------------------------------------------------------------

std::vector<Entry> ParamBlock2::removeEntries(int p, int at, int n, std::vector<KeepAlive>& controllers) {
  Param& prm = params_[static_cast<size_t>(p)];
  std::vector<Entry> out;
  out.reserve(static_cast<size_t>(n));
  // References go first, while the numbering still has them; the entries keep their targets alive.
  if (prm.hasControllers) {
    for (int k = at; k < at + n; ++k) {
      ReferenceTarget* c = prm.controllers[static_cast<size_t>(k)];
      controllers.emplace_back(c);
      if (c) {
        NoRecords quiet;
        ReplaceReference(refIndexOf(p, k, true), nullptr);
      }
    }
    prm.controllers.erase(prm.controllers.begin() + at, prm.controllers.begin() + at + n);
  }
  switch (prm.kind) {
    case ParamKind::Int: moveOut(std::get<std::vector<int>>(prm.values), at, n, out); break;
    case ParamKind::Float: moveOut(std::get<std::vector<float>>(prm.values), at, n, out); break;
    case ParamKind::Point3: moveOut(std::get<std::vector<::Point3>>(prm.values), at, n, out); break;
    case ParamKind::Point4: moveOut(std::get<std::vector<::Point4>>(prm.values), at, n, out); break;
    case ParamKind::Matrix3: moveOut(std::get<std::vector<::Matrix3>>(prm.values), at, n, out); break;
    case ParamKind::String: moveOut(std::get<std::vector<StrEntry>>(prm.values), at, n, out); break;
    case ParamKind::Ref:
    case ParamKind::PlainRef: {
      auto& col = std::get<std::vector<ReferenceTarget*>>(prm.values);
      const bool referenced = prm.kind == ParamKind::Ref;
      for (int k = at; k < at + n; ++k) {
        ReferenceTarget* t = col[static_cast<size_t>(k)];
        // A plain pointer's target is not the block's to free.
        out.emplace_back(std::in_place_type<KeepAlive>, t, referenced);
        if (t && referenced) {
          NoRecords quiet;
          ReplaceReference(refIndexOf(p, k, false), nullptr);
        }
      }
      col.erase(col.begin() + at, col.begin() + at + n);
      break;
    }
    case ParamKind::OwnerRef:  // the owner's references are fixed: callers never remove them
      break;
    case ParamKind::None:
      std::get<int>(prm.values) -= n;
      for (int k = 0; k < n; ++k) out.emplace_back(std::in_place_type<int>, 0);
      break;
  }
  refLayoutDirty_ = true;
  return out;
}

void ParamBlock2::insertEntries(int p, int at, std::vector<Entry>&& entries, std::vector<KeepAlive>&& controllers) {
  Param& prm = params_[static_cast<size_t>(p)];
  const int n = static_cast<int>(entries.size());
  switch (prm.kind) {
    case ParamKind::Int: moveIn(std::get<std::vector<int>>(prm.values), at, entries); break;
    case ParamKind::Float: moveIn(std::get<std::vector<float>>(prm.values), at, entries); break;
    case ParamKind::Point3: moveIn(std::get<std::vector<::Point3>>(prm.values), at, entries); break;
    case ParamKind::Point4: moveIn(std::get<std::vector<::Point4>>(prm.values), at, entries); break;
    case ParamKind::Matrix3: moveIn(std::get<std::vector<::Matrix3>>(prm.values), at, entries); break;
    case ParamKind::String: moveIn(std::get<std::vector<StrEntry>>(prm.values), at, entries); break;
    case ParamKind::Ref:
    case ParamKind::PlainRef: {
      auto& col = std::get<std::vector<ReferenceTarget*>>(prm.values);
      col.insert(col.begin() + at, static_cast<size_t>(n), nullptr);
      refLayoutDirty_ = true;
      for (int k = 0; k < n; ++k)
        if (const KeepAlive* t = std::get_if<KeepAlive>(&entries[static_cast<size_t>(k)]); t && t->live())
          setTarget(p, at + k, t->live());
      break;
    }
    case ParamKind::OwnerRef:
      break;
    case ParamKind::None:
      std::get<int>(prm.values) += n;
      break;
  }
  if (prm.hasControllers) {
    prm.controllers.insert(prm.controllers.begin() + at, static_cast<size_t>(n), nullptr);
    refLayoutDirty_ = true;
    for (size_t k = 0; k < controllers.size() && k < static_cast<size_t>(n); ++k)
      if (ReferenceTarget* c = controllers[k].live()) {
        NoRecords quiet;
        ReplaceReference(refIndexOf(p, at + static_cast<int>(k), true), c);
      }
  }
  refLayoutDirty_ = true;
}

int ParamBlock2::insertRecorded(int p, int at, std::vector<Entry>&& entries, int notifyTab) {
  const int n = static_cast<int>(entries.size());
  if (IsDeleted() || n == 0 || countAt(p) + n > kMaxTable) return -1;
  insertEntries(p, at, std::move(entries), std::vector<KeepAlive>());
  if (theHold.Holding()) theHold.Put(new ParamTableRestore(this, p, at, n));
  changed(p, notifyTab);
  return at;
}

void ParamBlock2::removeRecorded(int p, int at, int n, int notifyTab) {
  if (IsDeleted() || n <= 0) return;
  std::vector<KeepAlive> controllers;
  std::vector<Entry> removed = removeEntries(p, at, n, controllers);
  if (theHold.Holding()) theHold.Put(new ParamTableRestore(this, p, at, std::move(removed), std::move(controllers)));
  changed(p, notifyTab);
  // Unrecorded, the removed targets go here unless something else references them.
}

// ---- public table operations ---------------------------------------------------------------------

namespace {
// Tables whose length a caller may change: the owner's references are a fixed range of its own.
bool editable(const ParamDef& d, ParamKind k) { return is_tab(d.type) && k != ParamKind::OwnerRef; }
}  // namespace

int ParamBlock2::Count(ParamID id) {
  const int p = paramIndex(id);
  return p >= 0 && is_tab(defAt(p).type) ? countAt(p) : 0;
}

void ParamBlock2::SetCount(ParamID id, int n) {
  const int p = paramIndex(id);
  if (p < 0 || !editable(defAt(p), kindAt(p))) return;
  n = std::clamp(n, 0, kMaxTable);
  const int c = countAt(p);
  if (n > c) {
    std::vector<Entry> fresh;
    fresh.reserve(static_cast<size_t>(n - c));
    for (int k = c; k < n; ++k) fresh.push_back(defaultEntry(p));
    insertRecorded(p, c, std::move(fresh), -1);
  } else if (n < c) {
    removeRecorded(p, n, c - n, -1);
  }
}

int ParamBlock2::Delete(ParamID id, int start, int num) {
  const int p = paramIndex(id);
  if (p < 0 || !is_tab(defAt(p).type)) return 0;
  const int c = countAt(p);
  if (!editable(defAt(p), kindAt(p)) || start < 0 || start >= c || num <= 0) return c;
  removeRecorded(p, start, std::min(num, c - start), start);
  return countAt(p);
}

int ParamBlock2::Resize(ParamID id, int num) {
  const int p = paramIndex(id);
  if (p < 0 || !editable(defAt(p), kindAt(p))) return 0;
  const size_t n = static_cast<size_t>(std::clamp(num, 0, kMaxTable));
  Param& prm = params_[static_cast<size_t>(p)];
  std::visit(
      [n](auto& c) {
        if constexpr (!std::is_same_v<std::decay_t<decltype(c)>, int>) c.reserve(n);
      },
      prm.values);
  if (prm.hasControllers) prm.controllers.reserve(n);
  return 1;
}

void ParamBlock2::Shrink(ParamID id) {
  const int p = paramIndex(id);
  if (p < 0 || !is_tab(defAt(p).type)) return;
  Param& prm = params_[static_cast<size_t>(p)];
  std::visit(
      [](auto& c) {
        if constexpr (!std::is_same_v<std::decay_t<decltype(c)>, int>) c.shrink_to_fit();
      },
      prm.values);
  prm.controllers.shrink_to_fit();
}

// Converts the caller's elements to entries of parameter `p`; false (and nothing to do) when the
// element type does not suit the parameter or a target cannot be held.
template <class T> bool ParamBlock2::toEntries(int p, int num, T* el, std::vector<Entry>& out) {
  if (num <= 0 || num > kMaxTable || !el) return false;
  const ParamKind kind = kindAt(p);
  out.reserve(static_cast<size_t>(num));
  for (int k = 0; k < num; ++k) {
    const T& v = el[k];
    if constexpr (std::is_same_v<T, int>) {
      if (kind == ParamKind::Int) out.emplace_back(std::in_place_type<int>, v);
      else if (kind == ParamKind::Float) out.emplace_back(std::in_place_type<float>, static_cast<float>(v));
      else return false;
    } else if constexpr (std::is_same_v<T, float>) {
      if (kind == ParamKind::Float) out.emplace_back(std::in_place_type<float>, v);
      else if (kind == ParamKind::Int) out.emplace_back(std::in_place_type<int>, static_cast<int>(v));
      else return false;
    } else if constexpr (isPoint3Like<T>) {
      if (kind != ParamKind::Point3) return false;
      out.emplace_back(std::in_place_type<::Point3>, asPoint3(v));
    } else if constexpr (std::is_pointer_v<T> && isPoint3Like<std::remove_pointer_t<T>>) {
      if (kind != ParamKind::Point3) return false;
      out.emplace_back(std::in_place_type<::Point3>, v ? asPoint3(*v) : ::Point3());
    } else if constexpr (isPoint4Like<T>) {
      if (kind != ParamKind::Point4) return false;
      out.emplace_back(std::in_place_type<::Point4>, asPoint4(v));
    } else if constexpr (std::is_pointer_v<T> && isPoint4Like<std::remove_pointer_t<T>>) {
      if (kind != ParamKind::Point4) return false;
      out.emplace_back(std::in_place_type<::Point4>, v ? asPoint4(*v) : ::Point4());
    } else if constexpr (std::is_same_v<T, ::Matrix3>) {
      if (kind != ParamKind::Matrix3) return false;
      out.emplace_back(std::in_place_type<::Matrix3>, v);
    } else if constexpr (std::is_same_v<T, ::Matrix3*>) {
      if (kind != ParamKind::Matrix3) return false;
      out.emplace_back(std::in_place_type<::Matrix3>, v ? *v : ::Matrix3());
    } else if constexpr (std::is_same_v<T, const TCHAR*> || std::is_same_v<T, TCHAR*>) {
      if (kind != ParamKind::String) return false;
      out.emplace_back(std::in_place_type<StrEntry>, makeText(v));
    } else if constexpr (std::is_same_v<T, INode*> || std::is_same_v<T, ReferenceTarget*>) {
      if (kind != ParamKind::Ref && kind != ParamKind::PlainRef) return false;
      ReferenceTarget* t = v;
      if (!canHold(p, t)) return false;
      // Borrowed from the caller: an edit that does not take it must not free it.
      out.emplace_back(std::in_place_type<KeepAlive>, t, false);
    } else {
      static_assert(alwaysFalse<T>, "no table element of this type");
    }
  }
  return true;
}

template <class T> int ParamBlock2::appendAll(ParamID id, int num, T* el) {
  const int p = paramIndex(id);
  if (p < 0 || !editable(defAt(p), kindAt(p))) return -1;
  std::vector<Entry> entries;
  if (!toEntries(p, num, el, entries)) return -1;
  const int c = countAt(p);
  return insertRecorded(p, c, std::move(entries), c) < 0 ? -1 : c;
}

template <class T> int ParamBlock2::insertAll(ParamID id, int at, int num, T* el) {
  const int p = paramIndex(id);
  if (p < 0 || !editable(defAt(p), kindAt(p))) return -1;
  std::vector<Entry> entries;
  if (!toEntries(p, num, el, entries)) return -1;
  at = std::clamp(at, 0, countAt(p));
  return insertRecorded(p, at, std::move(entries), at);
}

// The overloads in param_block2.h instantiate these for every element type.
#define QZM_TABLE_ELEMENT(T)                                         \
  template int ParamBlock2::appendAll<T>(ParamID, int, T*);          \
  template int ParamBlock2::insertAll<T>(ParamID, int, int, T*);
QZM_TABLE_ELEMENT(int)
QZM_TABLE_ELEMENT(float)
QZM_TABLE_ELEMENT(::Point3)
QZM_TABLE_ELEMENT(::Point3*)
QZM_TABLE_ELEMENT(::Point4)
QZM_TABLE_ELEMENT(::Point4*)
QZM_TABLE_ELEMENT(Color)
QZM_TABLE_ELEMENT(Color*)
QZM_TABLE_ELEMENT(AColor)
QZM_TABLE_ELEMENT(AColor*)
QZM_TABLE_ELEMENT(::Matrix3)
QZM_TABLE_ELEMENT(::Matrix3*)
QZM_TABLE_ELEMENT(const TCHAR*)
QZM_TABLE_ELEMENT(TCHAR*)
QZM_TABLE_ELEMENT(INode*)
QZM_TABLE_ELEMENT(ReferenceTarget*)
#undef QZM_TABLE_ELEMENT

}  // namespace sim
