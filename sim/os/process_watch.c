/* qzmwatch: what a POSIX host starts its child processes through (see os/process_posix.cpp).
 *
 *   qzmwatch DIRECTORY PROGRAM ARG0 ARGS...      (DIRECTORY "": the current one)
 *
 * started with the program's standard input, output and error on descriptors 0 to 2, the status
 * pipe on 3 and the error pipe on 4. It forks a watcher and exits at once, so that the host reaps
 * it at once and the watcher belongs to init. The watcher starts the program in DIRECTORY, writes
 * its process id (4 bytes) to the status pipe, waits for it and writes its exit code (4 bytes).
 * When the program cannot start, the reason (errno, 4 bytes) goes to the error pipe; the error pipe
 * reaches its end when the program has started.
 *
 * The host starts this small program (by posix_spawn) instead of forking itself: a fork of a large
 * host would make every page it writes afterwards a copy-on-write fault. */
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdint.h>
#include <sys/wait.h>
#include <unistd.h>

enum { STATUS_FD = 3, ERROR_FD = 4 };

static void write_all(int fd, const void* buf, size_t n) {
  const char* p = buf;
  while (n > 0) {
    ssize_t put = write(fd, p, n);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return;
    p += put;
    n -= (size_t)put;
  }
}

static void report_errno(void) {
  int32_t e = errno;
  write_all(ERROR_FD, &e, sizeof e);
}

static void start_program(const char* directory, const char* program, char** argv) {
  fcntl(STATUS_FD, F_SETFD, FD_CLOEXEC);
  fcntl(ERROR_FD, F_SETFD, FD_CLOEXEC);
  signal(SIGPIPE, SIG_DFL);
  if (directory && chdir(directory) != 0) {
    report_errno();
    _exit(127);
  }
  execv(program, argv);
  report_errno();
  _exit(127);
}

static void watch(const char* directory, const char* program, char** argv) {
  pid_t child = fork();
  if (child == 0) start_program(directory, program, argv);
  if (child < 0) {
    report_errno();
    _exit(1);
  }
  /* Hold nothing of the program's: its pipes must reach their end when it (and its own children)
   * end, not when the watcher does. */
  close(ERROR_FD);
  int devnull = open("/dev/null", O_RDWR);
  for (int fd = 0; fd <= 2; ++fd) {
    if (devnull >= 0) dup2(devnull, fd);
    else close(fd);
  }
  if (devnull > 2) close(devnull);
  signal(SIGPIPE, SIG_IGN); /* the host may have closed the process handle long ago */
  int32_t pid = child;
  write_all(STATUS_FD, &pid, sizeof pid);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int32_t code = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
  write_all(STATUS_FD, &code, sizeof code);
  _exit(0);
}

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  const char* directory = argv[1][0] ? argv[1] : NULL;
  pid_t watcher = fork();
  if (watcher == 0) watch(directory, argv[2], argv + 3);
  if (watcher < 0) {
    report_errno();
    return 1;
  }
  return 0;
}
