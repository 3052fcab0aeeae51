// What capture and restore need from the scene around a holder: the kind of a target node, the
// name of the holder's own node, and the walk over every holder of the scene.
#pragma once

#include "inode.h"
#include "iparamb2.h"

#include <string>

// The object that decides a node's kind: the top of its pipeline (space-warp bindings included),
// unwrapped from one derived object. `sclass` gets its super class id, or that of the source object
// of an external reference.
Object* UnwrappedObject(INode* node, SClass_ID& sclass);

// True for the super class ids of geometry, shapes, helpers, lights and cameras.
bool IsKnownKind(SClass_ID sclass);

// The super class id that decides the kind of `node`. An unknown kind forces the evaluation of the
// node's world state (`topLevelEval` becomes 1; with `debug` the forcing is written to the
// Listener); with `topLevelEval` 1 the evaluated object's super class id is the answer.
SClass_ID ResolveNodeKind(INode* node, int& topLevelEval, bool debug);

// The name of the scene node that carries the holder owning `pblock`, or "" when there is none.
std::string FindHolderNodeName(IParamBlock2* pblock);

// Writes "Forcing top level eval to true... <id>\n" to the Listener.
void PrintForcedEval(SClass_ID sclass);

// One run over every holder of the scene.
struct HolderWalk {
  enum Mode { CapturePass, CaptureInitial, RestorePass } mode;
  int whichPass;
  int whereInList;
  int doOnlyUncaptured;
};

// Visits every node below the root, depth first in child order, and runs `walk` on each holder
// found whose target node is set, with that holder's block and its own doTopLevelEval.
// `topLevelEval` and `debug` are those of the holder the walk was called on. Answers the number of
// the root's children.
int WalkSceneHolders(const HolderWalk& walk, int topLevelEval, bool debug);
