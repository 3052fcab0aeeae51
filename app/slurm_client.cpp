#include "slurm_client.h"

#include "slurm_job.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#if !defined(_WIN32)
#  include <sys/wait.h>
#endif

namespace fs = std::filesystem;

std::string findOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  if (!path) return std::string();
#if defined(_WIN32)
  const char separator = ';';
#else
  const char separator = ':';
#endif
  std::string folders = path;
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(separator, start);
    if (end == std::string::npos) end = folders.size();
    const std::string folder = folders.substr(start, end - start);
    start = end + 1;
    if (folder.empty()) continue;
    std::error_code ec;
    const fs::path candidate = fs::path(folder) / program;
    if (fs::is_regular_file(candidate, ec)) return candidate.string();
  }
  return std::string();
}

ProgramResult runProgram(const std::vector<std::string>& argv) {
  ProgramResult r;
  std::string line;
  for (const std::string& a : argv) line += (line.empty() ? "" : " ") + shellQuoted(a);
  line += " 2>&1";
#if defined(_WIN32)
  std::FILE* pipe = _popen(line.c_str(), "r");
#else
  std::FILE* pipe = popen(line.c_str(), "r");
#endif
  if (!pipe) return r;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) r.output.append(buffer, n);
#if defined(_WIN32)
  r.status = _pclose(pipe);
#else
  const int raw = pclose(pipe);
  r.status = raw == -1 ? -1 : WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
#endif
  r.started = r.status != 127;  // the shell's answer for a program it could not run
  return r;
}

namespace {

std::string trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

}  // namespace

SubmittedJob submitBatchJob(const std::string& sbatch, const std::string& batchFile) {
  SubmittedJob job;
  const ProgramResult r = runProgram({sbatch, "--parsable", batchFile});
  const std::string output = trimmed(r.output);
  if (r.status != 0) {
    job.error = output.empty() ? "sbatch ended with exit status " + std::to_string(r.status) : output;
    return job;
  }
  // --parsable prints "id" or "id;cluster" last, after any warnings.
  std::string last = output.substr(output.find_last_of('\n') == std::string::npos ? 0 : output.find_last_of('\n') + 1);
  last = last.substr(0, last.find(';'));
  if (last.empty() || last.find_first_not_of("0123456789") != std::string::npos) {
    job.error = "sbatch did not answer with a job id: " + output;
    return job;
  }
  job.id = last;
  return job;
}

QueueState jobQueueState(const std::string& squeue, const std::string& jobId, std::string& error) {
  const ProgramResult r = runProgram({squeue, "--noheader", "--jobs", jobId, "--format", "%i %T"});
  if (r.status == 0) return trimmed(r.output).empty() ? QueueState::Gone : QueueState::Queued;
  // A job that ended a while ago is forgotten, and squeue then calls its id invalid.
  if (r.output.find("Invalid job id") != std::string::npos) return QueueState::Gone;
  error = trimmed(r.output);
  return QueueState::NoAnswer;
}
