#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

namespace brevandor::testing {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::string& workingDirectory) {
  int outPipe[2];
  int errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) {
    throw std::runtime_error("pipe failed");
  }
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);

  pid_ = fork();
  if (pid_ == 0) {
    // The program starts as from a shell, whatever this process ignores.
    signal(SIGPIPE, SIG_DFL);
    signal(SIGXFSZ, SIG_DFL);
    dup2(outPipe[1], STDOUT_FILENO);
    dup2(errPipe[1], STDERR_FILENO);
    close(outPipe[0]);
    close(errPipe[0]);
    close(outPipe[1]);
    close(errPipe[1]);
    if (chdir(workingDirectory.c_str()) != 0) {
      _exit(126);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(outPipe[1]);
  close(errPipe[1]);
  outFd_ = outPipe[0];
  errFd_ = errPipe[0];
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (outFd_ >= 0) {
    close(outFd_);
  }
  if (errFd_ >= 0) {
    close(errFd_);
  }
}

bool ChildProcess::readSome(std::chrono::milliseconds timeout) {
  pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
  if (outFd_ < 0 && errFd_ < 0) {
    return false;
  }
  if (poll(fds, 2, static_cast<int>(timeout.count())) <= 0) {
    return true;
  }
  int* descriptors[2] = {&outFd_, &errFd_};
  std::string* sinks[2] = {&result_.out, &result_.err};
  for (int i = 0; i < 2; ++i) {
    if (*descriptors[i] < 0 || fds[i].revents == 0) {
      continue;
    }
    char buffer[4096];
    const ssize_t count = read(*descriptors[i], buffer, sizeof buffer);
    if (count > 0) {
      sinks[i]->append(buffer, static_cast<std::size_t>(count));
    } else {
      close(*descriptors[i]);
      *descriptors[i] = -1;
    }
  }
  return outFd_ >= 0 || errFd_ >= 0;
}

bool ChildProcess::waitForOutput(std::string_view text, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (result_.out.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline || !readSome(std::chrono::milliseconds(100))) {
      return result_.out.find(text) != std::string::npos;
    }
  }
  return true;
}

void ChildProcess::sendSignal(int signal) {
  kill(pid_, signal);
}

void ChildProcess::closeOutput() {
  if (outFd_ >= 0) {
    close(outFd_);
    outFd_ = -1;
  }
}

ProcessResult ChildProcess::finish(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (readSome(std::chrono::milliseconds(100))) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid_, SIGKILL);
    }
  }
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  if (WIFEXITED(status)) {
    result_.exitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result_.termSignal = WTERMSIG(status);
  }
  return result_;
}

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory, std::chrono::milliseconds timeout) {
  ChildProcess child(program, arguments, workingDirectory);
  return child.finish(timeout);
}

}  // namespace brevandor::testing
