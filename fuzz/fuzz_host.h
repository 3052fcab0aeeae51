// What every fuzz target shares: one host per process, started in a scratch folder with every plug-in
// module of the build but the command runner (no input may run a shell command), script runs bounded
// in time, and a reset to an empty host between inputs, so that each input meets the same host.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace fuzz {

// Starts the host once for this process, from LLVMFuzzerInitialize. Script runs in the scratch
// folder, which goes when the process ends; so that libFuzzer still writes its corpus and crash
// files where it was asked to, every path on its command line is made absolute (and -artifact_prefix
// is added when not given: the folder the target was started in).
void startHost(std::string_view target, int* argc, char*** argv);
const std::filesystem::path& scratch();

// Runs script text in the global scope, as the Listener does; a script error ends the text quietly.
// Loops and calls end in a script error once the text has run for QZM_FUZZ_SCRIPT_MS milliseconds
// (1000 unless set), so that an endless loop written by an input is not taken for a hang.
void runScript(std::string_view text);

// Back to the host as started: an empty scene, no undo, no globals, an empty Listener, an empty
// scratch folder.
void resetHost();

// QZM_FUZZ_PRINT is set: the targets print the script of each input, and the Listener is echoed to
// standard output (run the target on one file to see what a crashing input did).
bool printing();

}  // namespace fuzz
