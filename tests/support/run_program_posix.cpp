#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "run_program.hpp"

extern char** environ;

namespace vellonix::testing {

namespace {

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& added) {
  std::vector<std::string> merged;
  for (char** item = environ; *item != nullptr; ++item) {
    const std::string_view entry(*item);
    const std::string_view name = entry.substr(0, entry.find('=') + 1);
    bool replaced = false;
    for (const auto& setting : added) replaced = replaced || setting.starts_with(name);
    if (!replaced) merged.emplace_back(entry);
  }
  merged.insert(merged.end(), added.begin(), added.end());
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

pid_t Start(const ProgramStart& start) {
  // Everything the child needs is prepared here: after fork it may only make
  // async-signal-safe calls.
  std::vector<std::string> argTexts{start.Program.string()};
  argTexts.insert(argTexts.end(), start.Args.begin(), start.Args.end());
  std::vector<std::string> envTexts = MergedEnvironment(start.Environment);
  const std::vector<char*> argv = Pointers(argTexts);
  const std::vector<char*> envp = Pointers(envTexts);
  const int outFlags = O_WRONLY | O_CREAT | (start.AppendStdout ? O_APPEND : O_TRUNC);

  const pid_t child = fork();
  if (child < 0) throw std::system_error(errno, std::generic_category(), "fork");
  if (child == 0) {
    const int outFd = open(start.StdoutPath.c_str(), outFlags, 0644);
    const int errFd = open(start.StderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0 || chdir(start.Directory.c_str()) != 0) {
      _exit(126);
    }
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
  return child;
}

}  // namespace

std::vector<int> RunPrograms(const std::vector<ProgramStart>& starts) {
  std::vector<pid_t> children;
  for (const auto& start : starts) children.push_back(Start(start));
  std::vector<int> codes;
  for (const pid_t child : children) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
      if (errno != EINTR) throw std::system_error(errno, std::generic_category(), "waitpid");
    }
    codes.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
  }
  return codes;
}

}  // namespace vellonix::testing
