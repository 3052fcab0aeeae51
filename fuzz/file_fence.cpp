#include "file_fence.h"

#include "maxscript/maxscript.h"
#include "script/primitive_table.h"

#include <string_view>
#include <vector>

namespace fuzz {
namespace {

// Names that could leave the scratch folder: rooted at either slash, a drive, a UNC name, or any
// part that is "..".
bool leavesFolder(std::string_view name) {
  if (name.empty()) return false;
  if (name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':')) return true;
  size_t start = 0;
  while (start <= name.size()) {
    const size_t end = name.find_first_of("/\\", start);
    const std::string_view part = name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (part == "..") return true;
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return false;
}

class Fenced final : public Primitive {
 public:
  explicit Fenced(Primitive* inner) : Primitive(inner->name, inner->struct_name, inner->fn_ptr), inner_(inner) {}
  Value* apply(Value** arg_list, int count) override {
    for (int i = 0; i < count; ++i)
      if (arg_list[i] && is_string(arg_list[i]) && leavesFolder(arg_list[i]->to_string()))
        throw RuntimeError(_T("fuzzing keeps files in its scratch folder"));
    return inner_->apply(arg_list, count);
  }

 private:
  Primitive* inner_;
};

// Changing the current folder would take every relative name out of the scratch folder.
Value* refuseFolderChange(Value*) { throw RuntimeError(_T("fuzzing keeps files in its scratch folder")); }

}  // namespace

void fenceFileFunctions() {
  sim::PrimitiveTable& table = sim::PrimitiveTable::instance();
  if (const sim::StructProperty* dir = table.findProperty("sysInfo", "currentdir"))
    table.defineProperty("sysInfo", "currentdir", dir->getter, refuseFolderChange);
  // Kept for the life of the process, as every primitive is.
  static std::vector<Fenced*> fences;
  if (!fences.empty()) return;
  for (const char* name : {"deleteFile", "renameFile", "copyFile", "makeDir", "createFile", "openFile", "saveMaxFile",
                           "holdMaxFile", "saveNodes", "DOSCommand", "ShellLaunch", "QZMDOSCommand", "QZMDOSCommandReturn"}) {
    Primitive* p = sim::PrimitiveTable::instance().find(name);
    if (!p || dynamic_cast<Fenced*>(p)) continue;
    fences.push_back(new Fenced(p));  // a primitive puts itself in the table in place of `p`
  }
}

}  // namespace fuzz
