// Stand-ins for objects whose class is missing when a scene is loaded (its module is not in the
// plug-in folder, or its parameter block's class is gone). A stand-in keeps the class's identity,
// the chunks its Save wrote and its references exactly as the file held them, and writes them back
// unchanged when the scene is saved, so a scene survives a session without the module. It is of
// the host's base class for the saved super class (an object, a modifier, a material, a map, a
// controller), so it can stand where the missing object stood; it does nothing else.
#pragma once

#include "ioapi.h"
#include "maxtypes.h"
#include "ref.h"

#include <string>
#include <vector>

namespace sim {

struct SavedClass {
  SClass_ID sclass = 0;
  Class_ID cid;
  std::string name;
  std::string module;  // "" for the host's own classes
};

// A chunk as the file held it: its id, and its bytes or the chunks inside it.
struct SavedChunk {
  USHORT id = 0;
  bool container = false;
  std::vector<unsigned char> bytes;
  std::vector<SavedChunk> chunks;
};

class HOST_API MissingClass {
 public:
  explicit MissingClass(SavedClass cls) : cls_(std::move(cls)) {}
  virtual ~MissingClass();
  const SavedClass& savedClass() const { return cls_; }
  // The number of references the file saved; set by the loader before it sets them.
  virtual void setNumRefs(int n) = 0;

 protected:
  IOResult loadData(ILoad* iload);
  IOResult saveData(ISave* isave) const;
  void copyData(const MissingClass& from) { data_ = from.data_; }

 private:
  SavedClass cls_;
  SavedChunk data_;  // what the class's Save wrote, inside the host's chunk around it
};

// A new stand-in of the host's base class for `cls.sclass`.
HOST_API ReferenceTarget* makeStandIn(const SavedClass& cls);

// Tells the loader that the object being loaded cannot read its data (its describing class is
// missing) and is to be replaced by a stand-in; the object's Load then answers IO_ERROR.
HOST_API void keepAsStandIn(ILoad* iload);

}  // namespace sim
