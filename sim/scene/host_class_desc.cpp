#include "scene/host_class_desc.h"

#include "core/class_registry.h"
#include "hold.h"

#include <vector>

namespace sim {
namespace {

std::vector<HostClassDesc*>& hostDescs() {
  static auto* list = new std::vector<HostClassDesc*>;  // filled by static initialisers
  return *list;
}

}  // namespace

HostClassDesc::HostClassDesc(const char* className, SClass_ID sclass, Class_ID cid, const char* category,
                             Factory factory)
    : className_(className), sclass_(sclass), cid_(cid), category_(category), factory_(factory) {
  hostDescs().push_back(this);
}

void* HostClassDesc::Create(BOOL loading) {
  theHold.Suspend();
  void* made = factory_(loading);
  theHold.Resume();
  return made;
}

void registerHostClasses() {
  for (HostClassDesc* cd : hostDescs()) ClassRegistry::instance().add(cd, "");
}

}  // namespace sim
