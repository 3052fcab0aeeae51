// Generated and mutated scripts call every primitive with whatever names they hold, as root on a
// developer's machine: the functions that change files are fenced in the scratch folder.
#pragma once

namespace fuzz {

// Replaces each file-changing primitive with one that refuses, as a script error, any name that
// reaches outside the current folder (absolute, a drive, or "..") before calling the original; and
// refuses changing the current folder (sysInfo.currentdir).
void fenceFileFunctions();

}  // namespace fuzz
