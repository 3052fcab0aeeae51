#include "slurm_job.h"

#include <sstream>

std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) (c == '\'' ? out += "'\\''" : out += c);
  return out + "'";
}

std::string sbatchPathProblem(const std::string& path) {
  for (char c : path)
    if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20)
      return "'" + path + "' has a character a Slurm batch file cannot name a log with (a quote, backslash or control character)";
  return std::string();
}

namespace {

// Slurm reads '%' in a log's name as the start of a field ("%A" the job, "%a" the task).
std::string logPath(const std::string& path) {
  std::string out;
  for (char c : path) (c == '%' ? out += "%%" : out += c);
  return out;
}

}  // namespace

std::string imagePattern(const SlurmJob& job, const std::string& pass) {
  return job.imageStem + pass + "_" + std::string(static_cast<size_t>(job.padding), '#') + "." + job.format;
}

std::string batchScript(const SlurmJob& job) {
  std::ostringstream s;
  s << "#!/bin/sh\n"
    << "# Renders passes of " << job.scene << " with qzmhost: one task per pass and frame chunk.\n"
    << "# Written by qzmhost farm; submit it with: sbatch " << shellQuoted(job.batchFile)
    << "\n"
    << "#SBATCH --job-name=\"" << job.name << "\"\n"
    << "#SBATCH --array=0-" << job.tasks.size() - 1 << "\n"
    << "#SBATCH --output=\"" << logPath(job.logFolder) << "/" << job.name << "_%A_%a.log\"\n"
    << "#SBATCH --ntasks=1\n"
    << "#SBATCH --cpus-per-task=" << job.cpus << "\n";
  if (!job.memory.empty()) s << "#SBATCH --mem=" << job.memory << "\n";
  if (!job.timeLimit.empty()) s << "#SBATCH --time=" << job.timeLimit << "\n";
  if (!job.partition.empty()) s << "#SBATCH --partition=" << job.partition << "\n";
  s << "\ncase \"$SLURM_ARRAY_TASK_ID\" in\n";
  for (size_t i = 0; i < job.tasks.size(); ++i)
    s << "  " << i << ") pass=" << job.tasks[i].pass << " frames=" << job.tasks[i].frames.text() << " ;;\n";
  s << "  *) echo \"qzmhost farm: this job has no task '$SLURM_ARRAY_TASK_ID'\" >&2; exit 2 ;;\n"
    << "esac\n\n";
  s << shellQuoted(job.host) << " --plugins " << shellQuoted(job.plugins) << " render " << shellQuoted(job.scene)
    << " --pass \"$pass\" --frames \"$frames\"";
  if (!job.camera.empty()) s << " --camera " << shellQuoted(job.camera);
  if (job.width) s << " --width " << job.width;
  if (job.height) s << " --height " << job.height;
  s << " \\\n  --out " << shellQuoted(job.imageStem) << "\"$pass\"" << shellQuoted("_" + std::string(size_t(job.padding), '#') + "." + job.format)
    << "\n"
    << "status=$?\n\n"
    << "# The task's exit status, for whoever waits for the job (qzmhost farm --submit); written whole,\n"
    << "# then renamed.\n"
    << "done_in=" << shellQuoted(job.statusFolder) << "/\"$SLURM_ARRAY_JOB_ID\"\n"
    << "mkdir -p \"$done_in\" && echo \"$status\" >\"$done_in/$SLURM_ARRAY_TASK_ID.part\" &&\n"
    << "  mv -f \"$done_in/$SLURM_ARRAY_TASK_ID.part\" \"$done_in/$SLURM_ARRAY_TASK_ID\"\n"
    << "exit \"$status\"\n";
  return s.str();
}
