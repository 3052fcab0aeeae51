// Undo: theHold collects restore objects while a hold is open; an accepted hold becomes one undo
// step. A restore object undoes (Restore) and redoes (Redo) one change.
#pragma once

#include "host_api.h"
#include "strclass.h"

class HOST_API RestoreObj {
 public:
  virtual ~RestoreObj() = default;
  // Puts the state back as it was before the change. `isUndo` is set when a user undo (not a
  // cancelled hold) does it: the object then keeps what it needs to redo.
  virtual void Restore(int isUndo) = 0;
  virtual void Redo() = 0;
  virtual int Size() { return 1; }
  virtual void EndHold() {}
  virtual TSTR Description() { return TSTR("---"); }
};

class HoldState;

class HOST_API Hold {
 public:
  Hold();
  ~Hold();
  Hold(const Hold&) = delete;
  Hold& operator=(const Hold&) = delete;

  // Opens a hold; holds nest, and the records of an inner hold belong to the outer one.
  void Begin();
  // Adds a record to the open hold; without an open hold (or while suspended) the record is freed.
  void Put(RestoreObj* rob);
  // True while a hold is open, not suspended and not restoring.
  int Holding();
  void Suspend();
  void Resume();
  int IsSuspended();
  // Restores the records of the open hold, newest first, and keeps them.
  int Restore();
  // Discards the records of the open hold and closes every level of it.
  void Release();
  // Closes one level; the outermost turns the records into one undo step named `name`.
  void Accept(const TCHAR* name);
  void Accept(int nameID);
  // Restores and discards what was recorded since the matching Begin, and closes that level.
  void Cancel();
  // True while records are being restored or redone.
  int Restoring(int& isUndo);
  int Redoing();
  int RestoreOrRedoing();
  void DisableUndo();
  void EnableUndo();
  BOOL IsUndoDisabled();

  HoldState& state() { return *state_; }

 private:
  HoldState* state_;
};

HOST_API extern Hold theHold;
