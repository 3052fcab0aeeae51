// The class registry: every class descriptor the host and its plug-in modules hand over, found by
// class id, by class name and by internal name.
#pragma once

#include "plugapi.h"

#include <string>
#include <string_view>
#include <vector>

namespace sim {

class HOST_API ClassRegistry {
 public:
  struct Entry {
    ClassDesc* desc;
    std::string module;  // file name of the module that registered it ("" for the host's own)
  };

  static ClassRegistry& instance();

  // Registers a descriptor; refuses (false) a null one or a second class with the same ids.
  bool add(ClassDesc* cd, std::string module = {});
  void removeModule(std::string_view module);
  void clear();

  ClassDesc* find(SClass_ID sclass, Class_ID cid) const;
  // Lookups by name ignore case.
  ClassDesc* findByName(std::string_view className) const;
  ClassDesc* findByInternalName(std::string_view internalName) const;
  const std::vector<Entry>& entries() const { return entries_; }
  // Changes whenever a class comes or goes (with it, descriptors of its parameter blocks and
  // interfaces): what was worked out per class before is to be worked out again.
  unsigned generation() const { return generation_; }

 private:
  std::vector<Entry> entries_;
  unsigned generation_ = 0;
};

// A new instance of a registered class, or null.
HOST_API void* createInstance(SClass_ID sclass, Class_ID cid);

}  // namespace sim
