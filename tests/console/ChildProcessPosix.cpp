#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "ChildProcess.h"

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments, const std::string& input,
                     const std::string& workingDir) {
  int toChild[2], fromChild[2];
  if (::pipe(toChild) != 0 || ::pipe(fromChild) != 0) throw std::runtime_error("pipe failed");
  // Standard error goes to a file, read once the child has ended: two
  // pipes read one after the other could fill and block the child.
  std::FILE* const errors = std::tmpfile();
  if (!errors) throw std::runtime_error("tmpfile failed");
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::dup2(toChild[0], 0);
    ::dup2(fromChild[1], 1);
    ::dup2(::fileno(errors), 2);
    ::close(toChild[0]);
    ::close(toChild[1]);
    ::close(fromChild[0]);
    ::close(fromChild[1]);
    if (::chdir(workingDir.c_str()) != 0) ::_exit(126);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(toChild[0]);
  ::close(fromChild[1]);
  std::size_t sent = 0;
  while (sent < input.size()) {
    const ssize_t n = ::write(toChild[1], input.data() + sent, input.size() - sent);
    if (n <= 0) break;  // the child may not read at all
    sent += static_cast<std::size_t>(n);
  }
  ::close(toChild[1]);
  ChildResult result;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fromChild[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fromChild[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::rewind(errors);
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, errors)) > 0;) result.errors.append(buffer, n);
  std::fclose(errors);
  return result;
}
