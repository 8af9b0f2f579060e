// Runs jobs 0..count-1 in child processes of their own, at most `jobs` at a time: the engine's
// state is process-wide, so parallel searches need processes. work(i) runs in the child and
// returns its answer text; done(i, answer, ok) runs in the parent as each child ends, in the order
// they end, so one long job never leaves the others idle. ok is false when the child did not
// exit cleanly. The answer is read after the child has ended, so it must fit in a pipe's buffer
// (64 KiB on Linux). Returns false when a pipe or a process could not be made.
#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <map>
#include <string>

template <class Work, class Done>
bool RunForked(size_t count, int jobs, Work work, Done done) {
  struct Child {
    size_t job;
    int fd;
  };
  std::map<pid_t, Child> running;
  size_t next = 0;
  while (next < count || !running.empty()) {
    while (next < count && static_cast<int>(running.size()) < jobs) {
      int fds[2];
      if (pipe(fds) != 0) return false;
      const pid_t pid = fork();
      if (pid < 0) return false;
      if (pid == 0) {
        close(fds[0]);
        const std::string text = work(next);
        const bool written =
            write(fds[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
        _exit(written ? 0 : 1);
      }
      close(fds[1]);
      running[pid] = {next++, fds[0]};
    }
    int status = 0;
    const pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0 && errno != EINTR) return false;
    auto child = running.find(pid);
    if (child == running.end()) continue;
    std::string text;
    char buf[4096];
    for (ssize_t got; (got = read(child->second.fd, buf, sizeof buf)) > 0;) text.append(buf, got);
    close(child->second.fd);
    const size_t job = child->second.job;
    running.erase(child);
    done(job, text, WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  return true;
}
