// theHold as script sees it: the members of the host's undo struct.
#include "core/undo_stack.h"
#include "hold.h"
#include "maxscript/maxscript.h"

def_struct_primitive(hold_begin, theHold, "Begin");
Value* hold_begin_cf(Value**, int) {
  theHold.Begin();
  return ok;
}

def_struct_primitive(hold_accept, theHold, "Accept");
Value* hold_accept_cf(Value** arg_list, int count) {
  theHold.Accept(count > 0 ? arg_list[0]->to_string() : "");
  return ok;
}

def_struct_primitive(hold_cancel, theHold, "Cancel");
Value* hold_cancel_cf(Value**, int) {
  theHold.Cancel();
  return ok;
}

def_struct_primitive(hold_holding, theHold, "Holding");
Value* hold_holding_cf(Value**, int) { return bool_result(theHold.Holding()); }

def_struct_primitive(hold_suspend, theHold, "Suspend");
Value* hold_suspend_cf(Value**, int) {
  theHold.Suspend();
  return ok;
}

def_struct_primitive(hold_resume, theHold, "Resume");
Value* hold_resume_cf(Value**, int) {
  theHold.Resume();
  return ok;
}

def_struct_primitive(hold_restore, theHold, "Restore");
Value* hold_restore_cf(Value**, int) {
  theHold.Restore();
  return ok;
}

def_struct_primitive(hold_release, theHold, "Release");
Value* hold_release_cf(Value**, int) {
  theHold.Release();
  return ok;
}
