// Talking to Slurm through its own commands (sbatch, squeue), as a user at a submit host does: the
// host never grows a queue of its own.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
  bool started = false;  // false: the program could not be run at all
  int status = -1;
  std::string output;    // standard output and error together
};

// The program's full path when it is on PATH, else empty text.
std::string findOnPath(const std::string& program);

// Runs a program with arguments (no shell reads them) and collects what it writes.
ProgramResult runProgram(const std::vector<std::string>& argv);

struct SubmittedJob {
  std::string id;
  std::string error;  // why Slurm took no job
};

// sbatch FILE: the job's id, or why Slurm refused it.
SubmittedJob submitBatchJob(const std::string& sbatch, const std::string& batchFile);

enum class QueueState { Queued, Gone, NoAnswer };

// Whether the job (any task of it) is still pending or running.
QueueState jobQueueState(const std::string& squeue, const std::string& jobId, std::string& error);
