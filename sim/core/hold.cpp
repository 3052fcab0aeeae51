#include "hold.h"

#include "core/undo_stack.h"

#include <memory>
#include <vector>

// The hold being collected and the undo and redo stacks of accepted holds.
class HoldState {
 public:
  using Records = std::vector<std::unique_ptr<RestoreObj>>;
  struct Step {
    std::string label;
    Records records;
  };

  Records open;                                   // records of the open hold, oldest first
  std::vector<size_t> marks;                      // where each nested Begin started in `open`
  int suspended = 0;
  int restoring = 0;
  int redoing = 0;
  int isUndo = 0;
  bool undoDisabled = false;
  std::vector<Step> undo, redo;
  size_t maxSteps = 100;

  void restoreFrom(size_t mark, int undoFlag) {
    ++restoring;
    isUndo = undoFlag;
    for (size_t i = open.size(); i-- > mark;) open[i]->Restore(undoFlag);
    --restoring;
  }

  // Frees records (or whole steps) taken out of the hold first. A record may hold the last claim on
  // an object, and the object's deletion changes references, which records itself: nothing may be
  // recorded while records go, neither into the structure they came from nor into a hold still open.
  template <class T>
  void discard(T&& gone) {
    ++suspended;
    { auto dying = std::move(gone); }
    --suspended;
  }
};

Hold theHold;

Hold::Hold() : state_(new HoldState) {}
Hold::~Hold() { delete state_; }

void Hold::Begin() { state_->marks.push_back(state_->open.size()); }

int Hold::Holding() {
  return !state_->marks.empty() && state_->suspended == 0 && state_->restoring == 0 && state_->redoing == 0 &&
         !state_->undoDisabled;
}

void Hold::Put(RestoreObj* rob) {
  if (!rob) return;
  if (!Holding()) {
    delete rob;
    return;
  }
  state_->open.emplace_back(rob);
}

void Hold::Suspend() { ++state_->suspended; }
void Hold::Resume() { if (state_->suspended > 0) --state_->suspended; }
int Hold::IsSuspended() { return state_->suspended > 0; }

int Hold::Restore() {
  if (state_->marks.empty()) return 0;
  state_->restoreFrom(0, 0);
  return 1;
}

void Hold::Release() {
  for (auto& r : state_->open) r->EndHold();
  state_->marks.clear();
  state_->discard(std::move(state_->open));
  state_->open.clear();
}

void Hold::Accept(const TCHAR* name) {
  if (state_->marks.empty()) return;
  state_->marks.pop_back();
  if (!state_->marks.empty()) return;  // an inner hold: its records stay with the outer one
  for (auto& r : state_->open) r->EndHold();
  if (state_->open.empty()) return;
  HoldState::Step step{name ? name : "", std::move(state_->open)};
  state_->open.clear();
  state_->undo.push_back(std::move(step));
  state_->discard(std::move(state_->redo));
  state_->redo.clear();
  if (state_->undo.size() > state_->maxSteps) {
    HoldState::Step oldest = std::move(state_->undo.front());
    state_->undo.erase(state_->undo.begin());
    state_->discard(std::move(oldest));
  }
}

void Hold::Accept(int) { Accept(""); }

void Hold::Cancel() {
  if (state_->marks.empty()) return;
  size_t mark = state_->marks.back();
  state_->restoreFrom(mark, 0);
  HoldState::Records cancelled(std::make_move_iterator(state_->open.begin() + static_cast<std::ptrdiff_t>(mark)),
                               std::make_move_iterator(state_->open.end()));
  state_->open.resize(mark);
  state_->marks.pop_back();
  state_->discard(std::move(cancelled));
}

int Hold::Restoring(int& isUndo) {
  isUndo = state_->isUndo;
  return state_->restoring > 0;
}
int Hold::Redoing() { return state_->redoing > 0; }
int Hold::RestoreOrRedoing() { return state_->restoring > 0 || state_->redoing > 0; }
void Hold::DisableUndo() { state_->undoDisabled = true; }
void Hold::EnableUndo() { state_->undoDisabled = false; }
BOOL Hold::IsUndoDisabled() { return state_->undoDisabled; }

namespace sim {

bool undo() {
  HoldState& s = theHold.state();
  if (s.undo.empty() || !s.marks.empty()) return false;
  HoldState::Step step = std::move(s.undo.back());
  s.undo.pop_back();
  ++s.restoring;
  s.isUndo = 1;
  for (size_t i = step.records.size(); i-- > 0;) step.records[i]->Restore(1);
  --s.restoring;
  s.redo.push_back(std::move(step));
  return true;
}

bool redo() {
  HoldState& s = theHold.state();
  if (s.redo.empty() || !s.marks.empty()) return false;
  HoldState::Step step = std::move(s.redo.back());
  s.redo.pop_back();
  ++s.redoing;
  for (auto& r : step.records) r->Redo();
  --s.redoing;
  s.undo.push_back(std::move(step));
  return true;
}

int undoDepth() { return static_cast<int>(theHold.state().undo.size()); }
int redoDepth() { return static_cast<int>(theHold.state().redo.size()); }
std::string undoLabel() { auto& u = theHold.state().undo; return u.empty() ? std::string() : u.back().label; }

void flushUndo() {
  HoldState& s = theHold.state();
  auto undoSteps = std::move(s.undo);
  auto redoSteps = std::move(s.redo);
  auto open = std::move(s.open);
  s.undo.clear();
  s.redo.clear();
  s.open.clear();
  s.marks.clear();
  s.discard(std::move(open));
  s.discard(std::move(redoSteps));
  s.discard(std::move(undoSteps));
}

}  // namespace sim
