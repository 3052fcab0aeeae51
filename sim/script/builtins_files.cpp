// File and folder primitives. None of them throws on what the file system says: a missing file, a
// folder where a file is wanted, an empty name or a place that cannot be written answers false (or
// an empty array), and nothing that exists is ever overwritten unless the script asked for it.
#include "core/text.h"
#include "maxscript/maxscript.h"
#include "script/file_paths.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

using sim::rt::fileNameArg;
using sim::rt::folderPartLength;
using sim::rt::nativePath;

// How deep getFiles recurse:true goes: far beyond real folders, an end for folder loops.
constexpr int kMaxFolderDepth = 64;

bool isFile(const std::string& name) {
  std::error_code ec;
  return !name.empty() && fs::is_regular_file(nativePath(name), ec);
}

bool exists(const std::string& name) {
  std::error_code ec;
  return !name.empty() && fs::exists(nativePath(name), ec);
}

// "*.*" matches every name, as it does on the system the language comes from.
bool nameMatches(const std::string& name, const std::string& pattern) {
  return pattern == "*.*" || sim::wildcardMatch(name, pattern, true);
}

bool lessIgnoreCase(const std::string& a, const std::string& b) {
  return sim::toLowerAscii(a) < sim::toLowerAscii(b);
}

// The entries of `folder` (written as the script wrote it, ending in a slash or empty) whose names
// match `pattern`: files or folders, sorted by name, then (recurse) those of every subfolder.
void collect(const std::string& folder, const std::string& pattern, bool wantFolders, bool recurse, int depth,
             std::vector<std::string>& out) {
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : nativePath(folder), ec);
  if (ec) return;
  std::vector<std::string> files, folders;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::error_code kind;
    bool dir = it->is_directory(kind);
    std::string name = it->path().filename().string();
    if (dir && !it->is_symlink(kind)) folders.push_back(name);
    if (dir == wantFolders && nameMatches(name, pattern)) files.push_back(name);
  }
  std::sort(files.begin(), files.end(), lessIgnoreCase);
  std::sort(folders.begin(), folders.end(), lessIgnoreCase);
  char slash = folder.empty() ? '/' : folder.back();
  for (const std::string& f : files) out.push_back(folder + f + (wantFolders ? std::string(1, slash) : ""));
  if (!recurse || depth >= kMaxFolderDepth) return;
  for (const std::string& sub : folders) collect(folder + sub + slash, pattern, wantFolders, true, depth + 1, out);
}

Value* collectMatching(Value** arg_list, int count, bool wantFolders, const char* fn) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError(fn, 1, positional);
  const std::string& pattern = fileNameArg(arg_list[0]);
  bool recurse = key_arg_or_default(recurse, false_value)->to_bool();
  size_t split = folderPartLength(pattern);
  std::vector<std::string> found;
  if (split < pattern.size()) collect(pattern.substr(0, split), pattern.substr(split), wantFolders, recurse, 0, found);
  one_typed_value_local(Array* result);
  vl.result = new Array(static_cast<int>(found.size()));
  for (const std::string& f : found) vl.result->append(new String(f));
  return_value(vl.result);
}

}  // namespace

// ---- names ---------------------------------------------------------------------------------------

// getFilenamePath "c:/a/b.txt" -> "c:/a/": the folder part with its slash.
def_visible_primitive(getFilenamePath, "getFilenamePath");
Value* getFilenamePath_cf(Value** arg_list, int count) {
  check_arg_count(getFilenamePath, 1, count);
  const std::string& name = fileNameArg(arg_list[0]);
  return new String(name.substr(0, folderPartLength(name)));
}

// getFilenameFile "c:/a/b.txt" -> "b": the name without folder and type.
def_visible_primitive(getFilenameFile, "getFilenameFile");
Value* getFilenameFile_cf(Value** arg_list, int count) {
  check_arg_count(getFilenameFile, 1, count);
  const std::string& name = fileNameArg(arg_list[0]);
  std::string file = name.substr(folderPartLength(name));
  size_t dot = file.rfind('.');
  return new String(dot == std::string::npos ? file : file.substr(0, dot));
}

// getFilenameType "c:/a/b.txt" -> ".txt": the type with its dot, or "".
def_visible_primitive(getFilenameType, "getFilenameType");
Value* getFilenameType_cf(Value** arg_list, int count) {
  check_arg_count(getFilenameType, 1, count);
  const std::string& name = fileNameArg(arg_list[0]);
  std::string file = name.substr(folderPartLength(name));
  size_t dot = file.rfind('.');
  return new String(dot == std::string::npos ? std::string() : file.substr(dot));
}

// ---- questions -----------------------------------------------------------------------------------

// doesFileExist name: a file or folder is there; with wildcards, anything matches.
def_visible_primitive(doesFileExist, "doesFileExist");
Value* doesFileExist_cf(Value** arg_list, int count) {
  check_arg_count(doesFileExist, 1, count);
  const std::string& name = fileNameArg(arg_list[0]);
  size_t split = folderPartLength(name);
  if (name.find_first_of("*?", split) == std::string::npos) return bool_result(exists(name));
  std::vector<std::string> found;
  collect(name.substr(0, split), name.substr(split), false, false, 0, found);
  collect(name.substr(0, split), name.substr(split), true, false, 0, found);
  return bool_result(!found.empty());
}

// getFiles "folder/*.txt" [recurse:true]: the files that match, each named as the folder was.
def_visible_primitive(getFiles, "getFiles");
Value* getFiles_cf(Value** arg_list, int count) { return collectMatching(arg_list, count, false, "getFiles"); }

// getDirectories "folder/*": the folders that match, each ending in a slash.
def_visible_primitive(getDirectories, "getDirectories");
Value* getDirectories_cf(Value** arg_list, int count) {
  return collectMatching(arg_list, count, true, "getDirectories");
}

// ---- changes -------------------------------------------------------------------------------------

// makeDir name [all:true]: true when the folder is there afterwards; all: makes missing parents.
def_visible_primitive(makeDir, "makeDir");
Value* makeDir_cf(Value** arg_list, int count) {
  int positional = count_positional_args(arg_list, count);
  if (positional != 1) throw ArgCountError("makeDir", 1, positional);
  std::string name = fileNameArg(arg_list[0]);
  while (name.size() > 1 && (name.back() == '/' || name.back() == '\\')) name.pop_back();
  if (name.empty()) return false_value;
  bool all = key_arg_or_default(all, false_value)->to_bool();
  fs::path p = nativePath(name);
  std::error_code ec;
  if (all) fs::create_directories(p, ec);
  else fs::create_directory(p, ec);
  return bool_result(fs::is_directory(p, ec));
}

// deleteFile name: deletes a file (never a folder); answers whether it did.
def_visible_primitive(deleteFile, "deleteFile");
Value* deleteFile_cf(Value** arg_list, int count) {
  check_arg_count(deleteFile, 1, count);
  const std::string& name = fileNameArg(arg_list[0]);
  if (!isFile(name)) return false_value;
  std::error_code ec;
  return bool_result(fs::remove(nativePath(name), ec));
}

// renameFile old new: moves a file or folder to a name nothing has yet; answers whether it did.
def_visible_primitive(renameFile, "renameFile");
Value* renameFile_cf(Value** arg_list, int count) {
  check_arg_count(renameFile, 2, count);
  const std::string& from = fileNameArg(arg_list[0]);
  const std::string& to = fileNameArg(arg_list[1]);
  if (!exists(from) || to.empty() || exists(to)) return false_value;
  std::error_code ec;
  fs::rename(nativePath(from), nativePath(to), ec);
  return bool_result(!ec);
}

// copyFile existing new: copies a file to a name nothing has yet; answers whether it did.
def_visible_primitive(copyFile, "copyFile");
Value* copyFile_cf(Value** arg_list, int count) {
  check_arg_count(copyFile, 2, count);
  const std::string& from = fileNameArg(arg_list[0]);
  const std::string& to = fileNameArg(arg_list[1]);
  if (!isFile(from) || to.empty() || exists(to)) return false_value;
  std::error_code ec;
  return bool_result(fs::copy_file(nativePath(from), nativePath(to), fs::copy_options::none, ec) && !ec);
}
