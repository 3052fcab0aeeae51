// Brackets shared by capture and restore: the animate state is suspended for the whole operation,
// and the node and block being worked on are watched, because every composed text runs script that
// may delete either of them.
#pragma once

#include "animate.h"
#include "inode.h"
#include "iparamb2.h"
#include "ref.h"

// Animation suspended and animate mode off, so that writing records and values makes no keys;
// every way out resumes it.
class AnimateSuspended {
 public:
  AnimateSuspended() {
    SuspendAnimate();
    AnimateOff();
  }
  ~AnimateSuspended() { ResumeAnimate(); }
  AnimateSuspended(const AnimateSuspended&) = delete;
  AnimateSuspended& operator=(const AnimateSuspended&) = delete;
};

// Keeps a node and a parameter block for the length of an operation; `alive` turns false once
// script has deleted either, and the operation then stops instead of touching freed objects.
class NodeAndBlockKeeper {
 public:
  NodeAndBlockKeeper(INode* node, IParamBlock2* pb) {
    node_.SetRef(node);
    block_.SetRef(pb);
  }
  bool alive() {
    auto* node = static_cast<INode*>(node_.GetRef());
    return node && block_.GetRef() && !node->IsDeleted() && !block_.GetRef()->IsDeleted();
  }

 private:
  SingleRefMaker node_, block_;
};

// Watches the holder itself across script that may delete it (its node deleted by a composed
// text): once that happens the watch is cleared, and the caller must not touch the holder again.
class HolderWatch {
 public:
  explicit HolderWatch(ReferenceTarget* holder) { ref_.SetRef(holder); }
  bool alive() { return ref_.GetRef() != nullptr; }

 private:
  SingleRefMaker ref_;
};
