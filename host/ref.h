// References: the host's dependency graph. A ReferenceMaker holds numbered references to
// ReferenceTargets; a target knows its dependents and notifies them of changes.
//
// Lifetime: a target lives while a reference (or a host-side holder such as a script value or an
// undo record) holds it. When the last reference is replaced or deleted, the target deletes itself.
// Deleting a target explicitly first tells its dependents (REFMSG_TARGET_DELETED) and clears every
// reference to it, so no maker is left pointing at freed memory.
#pragma once

#include "animatable.h"
#include "host_api.h"
#include "interval.h"
#include "ioresult.h"
#include "ref_list.h"

#include <map>
#include <vector>

class ReferenceMaker;
class ReferenceTarget;
class RemapDir;
using RefMakerHandle = ReferenceMaker*;
using RefTargetHandle = ReferenceTarget*;

using PartID = ULONG_PTR;
using RefMessage = unsigned int;

enum RefResult { REF_FAIL = 0, REF_SUCCEED = 1, REF_DONTCARE = 2, REF_STOP = 3, REF_INVALID = 4 };

constexpr PartID PART_ALL = ~PartID(0);

constexpr RefMessage REFMSG_LOOPTEST = 0x00000010;
constexpr RefMessage REFMSG_TARGET_DELETED = 0x00000020;
constexpr RefMessage REFMSG_EVAL = 0x00000030;
constexpr RefMessage REFMSG_CHANGE = 0x00000050;
constexpr RefMessage REFMSG_BEGIN_EDIT = 0x00000090;
constexpr RefMessage REFMSG_END_EDIT = 0x000000A0;
constexpr RefMessage REFMSG_DISABLE = 0x000000B0;
constexpr RefMessage REFMSG_ENABLE = 0x000000C0;
constexpr RefMessage REFMSG_SUBANIM_STRUCTURE_CHANGED = 0x000000F4;
constexpr RefMessage REFMSG_REF_DELETED = 0x000000F6;
constexpr RefMessage REFMSG_NODE_NAMECHANGE = 0x00000101;
constexpr RefMessage REFMSG_NODE_MATERIAL_CHANGED = 0x00000102;
constexpr RefMessage REFMSG_MTL_REF_ADDED_OR_REMOVED = 0x00000108;
// Asks the nodes among the dependents for their handle: partID points at a ULONG the node fills.
constexpr RefMessage REFMSG_GET_NODE_HANDLE = 0x00000220;
constexpr RefMessage REFMSG_USER = 0x00010000;

// Super class filter of NotifyDependents: every dependent.
constexpr SClass_ID NOTIFY_ALL = 0xfffffff0;

// Answers of a DependentEnumProc.
constexpr int DEP_ENUM_CONTINUE = 0;
constexpr int DEP_ENUM_HALT = 1;
constexpr int DEP_ENUM_SKIP = 2;  // do not go on to this maker's own dependents

class HOST_API DependentEnumProc {
 public:
  virtual ~DependentEnumProc() = default;
  virtual int proc(ReferenceMaker* rmaker) = 0;
};

class HOST_API ReferenceMaker : public Animatable {
 public:
  ReferenceMaker();
  ~ReferenceMaker() override;

  // Points reference `which` at `newtarg`. With `delOld`, the previous target deletes itself when
  // this was its last reference. Refuses (REF_FAIL) a reference that would close a loop.
  RefResult ReplaceReference(int which, RefTargetHandle newtarg, BOOL delOld = TRUE);
  RefResult DeleteReference(int which);
  RefResult DeleteAllRefsFromMe();
  virtual RefResult DeleteAllRefs();
  // Frees this maker the way the reference system does: tells dependents, drops every reference.
  void DeleteMe();

  virtual int NumRefs() { return 0; }
  virtual RefTargetHandle GetReference(int i) { return nullptr; }
  virtual void SetReference(int i, RefTargetHandle rtarg) {}
  virtual RefResult NotifyRefChanged(Interval changeInt, RefTargetHandle hTarget, PartID& partID,
                                     RefMessage message) = 0;
  // Called after reference `i` was cleared because its target was deleted.
  virtual void RefDeleted() {}

  virtual IOResult Save(ISave* isave) { return IO_OK; }
  virtual IOResult Load(ILoad* iload) { return IO_OK; }
  virtual int RemapRefOnLoad(int iref) { return iref; }

  virtual BOOL IsRealDependency(ReferenceTarget* rtarg) { return TRUE; }
  virtual BOOL IsRefTarget() { return FALSE; }
  virtual BOOL IsRefMaker() { return TRUE; }

  // Index of the first reference pointing at `rtarg`, or -1.
  int FindRef(RefTargetHandle rtarg);

 private:
  friend class ReferenceTarget;
  friend struct RefGraph;
  // Targets this maker holds, one entry per reference: kept by the host so that a maker freed
  // without dropping its references never leaves its targets pointing back at freed memory.
  RefList<ReferenceTarget*, 4> held_;
};

class HOST_API ReferenceTarget : public ReferenceMaker {
 public:
  ReferenceTarget();
  ~ReferenceTarget() override;

  BOOL IsRefTarget() override { return TRUE; }

  // Sends `message` to every dependent; a dependent that answers REF_SUCCEED passes it on to its own
  // dependents unless `propagate` is false. REFMSG_TARGET_DELETED is never passed on.
  RefResult NotifyDependents(Interval changeInt, PartID partID, RefMessage message,
                             SClass_ID sclass = NOTIFY_ALL, BOOL propagate = TRUE,
                             RefTargetHandle hTarg = nullptr);
  // Calls `dep` on this target and then on every maker that depends on it, directly or through
  // other targets, each once. Returns 1 when the walk was halted.
  virtual int DoEnumDependents(DependentEnumProc* dep);

  virtual RefTargetHandle Clone(RemapDir& remap);
  // Copies what the base classes hold (app data is not copied) and records the mapping.
  virtual void BaseClone(ReferenceTarget* from, ReferenceTarget* to, RemapDir& remap);

  BOOL HasDependents();
  int NumDependents() const;
  // Deletes this target when nothing references or holds it any more.
  void MaybeAutoDelete();
  // True once the target was deleted while a host-side holder still kept its memory.
  bool IsDeleted() const { return deleted_; }

  // Every maker that references this target directly (each once).
  std::vector<ReferenceMaker*> GetDependents() const;

 private:
  friend class ReferenceMaker;
  friend struct RefGraph;
  RefList<ReferenceMaker*, 2> dependents_;  // one entry per reference; null while a notify walks it
  int keepAlive_ = 0;                       // host-side holders (script values, undo records)
  int notifying_ = 0;                       // depth of NotifyDependents walks over dependents_
  bool deleting_ = false;
  bool deleted_ = false;
};

// Maps originals to their clones during one clone operation, so that a target shared by several
// cloned makers is cloned once.
class HOST_API RemapDir {
 public:
  virtual ~RemapDir() = default;
  virtual RefTargetHandle FindMapping(RefTargetHandle from) = 0;
  virtual void AddEntry(RefTargetHandle hfrom, RefTargetHandle hto) = 0;
  // The clone of `oldTarg` for this operation: cloned on first request, the same clone afterwards.
  virtual RefTargetHandle CloneRef(RefTargetHandle oldTarg);
  // Points `*patchThis` at the clone of `oldTarg` once Backpatch runs (or the original if none).
  virtual void PatchPointer(RefTargetHandle* patchThis, RefTargetHandle oldTarg) = 0;
  virtual void Backpatch() = 0;
  virtual void Clear() = 0;
  virtual void DeleteThis() { delete this; }
};

class HOST_API DefaultRemapDir : public RemapDir {
 public:
  explicit DefaultRemapDir(BOOL use_A_WORK2_flag = FALSE) {}
  ~DefaultRemapDir() override;
  RefTargetHandle FindMapping(RefTargetHandle from) override;
  void AddEntry(RefTargetHandle hfrom, RefTargetHandle hto) override;
  void PatchPointer(RefTargetHandle* patchThis, RefTargetHandle oldTarg) override;
  void Backpatch() override;
  void Clear() override;

 private:
  std::map<RefTargetHandle, RefTargetHandle> map_;
  std::vector<std::pair<RefTargetHandle*, RefTargetHandle>> patches_;
};

HOST_API RemapDir& NoRemap();

// A maker with one reference, for keeping a target alive from plain C++ code (undo records).
class HOST_API SingleRefMaker : public ReferenceMaker {
 public:
  SingleRefMaker() = default;
  ~SingleRefMaker() override;
  void SetRef(RefTargetHandle rtarg);
  RefTargetHandle GetRef() { return target_; }

  SClass_ID SuperClassID() override { return REF_MAKER_CLASS_ID; }
  int NumRefs() override { return 1; }
  RefTargetHandle GetReference(int i) override { return i == 0 ? target_ : nullptr; }
  void SetReference(int i, RefTargetHandle rtarg) override { if (i == 0) target_ = rtarg; }
  RefResult NotifyRefChanged(Interval, RefTargetHandle, PartID&, RefMessage) override { return REF_SUCCEED; }
  BOOL IsRealDependency(ReferenceTarget*) override { return FALSE; }

 private:
  RefTargetHandle target_ = nullptr;
};
