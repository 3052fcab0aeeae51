#include "core/class_registry.h"

#include "core/text.h"

namespace sim {

ClassRegistry& ClassRegistry::instance() {
  static ClassRegistry registry;
  return registry;
}

bool ClassRegistry::add(ClassDesc* cd, std::string module) {
  if (!cd || find(cd->SuperClassID(), cd->ClassID())) return false;
  entries_.push_back(Entry{cd, std::move(module)});
  ++generation_;
  return true;
}

void ClassRegistry::removeModule(std::string_view module) {
  std::erase_if(entries_, [&](const Entry& e) { return e.module == module; });
  ++generation_;
}

void ClassRegistry::clear() {
  entries_.clear();
  ++generation_;
}

ClassDesc* ClassRegistry::find(SClass_ID sclass, Class_ID cid) const {
  for (const Entry& e : entries_)
    if (e.desc->SuperClassID() == sclass && e.desc->ClassID() == cid) return e.desc;
  return nullptr;
}

ClassDesc* ClassRegistry::findByName(std::string_view className) const {
  for (const Entry& e : entries_)
    if (e.desc->ClassName() && equalsIgnoreCase(e.desc->ClassName(), className)) return e.desc;
  return nullptr;
}

ClassDesc* ClassRegistry::findByInternalName(std::string_view internalName) const {
  for (const Entry& e : entries_)
    if (e.desc->InternalName() && equalsIgnoreCase(e.desc->InternalName(), internalName)) return e.desc;
  return nullptr;
}

void* createInstance(SClass_ID sclass, Class_ID cid) {
  ClassDesc* cd = ClassRegistry::instance().find(sclass, cid);
  return cd ? cd->Create(FALSE) : nullptr;
}

}  // namespace sim
