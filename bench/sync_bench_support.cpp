#include "sync_bench_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

Measure TimeOnce(const std::vector<std::string>& command, const std::string& dir, const std::function<void()>& prepare,
                 const std::vector<std::string>& environment) {
  prepare();
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::dup2(null, 2);
    if (::chdir(dir.c_str()) != 0) ::_exit(126);
    for (const std::string& assignment : environment) ::putenv(const_cast<char*>(assignment.c_str()));
    std::vector<char*> argv;
    for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(pid, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed (status %d) in %s\n", command[0].c_str(), status, dir.c_str());
    std::exit(1);
  }
  return {seconds, static_cast<double>(usage.ru_utime.tv_sec) + static_cast<double>(usage.ru_utime.tv_usec) / 1e6,
          usage.ru_maxrss};
}

Measure Time(const std::vector<std::string>& command, const std::string& dir, const std::function<void()>& prepare,
             const std::vector<std::string>& environment) {
  Measure best{1e9, 1e9, 0};
  for (int rep = 0; rep < kRepetitions; ++rep) {
    const Measure one = TimeOnce(command, dir, prepare, environment);
    best.seconds = std::min(best.seconds, one.seconds);
    best.userSeconds = std::min(best.userSeconds, one.userSeconds);
    best.peakKilobytes = std::max(best.peakKilobytes, one.peakKilobytes);
  }
  return best;
}

void Put(const std::string& name, const std::string& bytes) { std::ofstream(name, std::ios::binary) << bytes; }
