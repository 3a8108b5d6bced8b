#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace brevandor::testing {

// How a child process ended and what it wrote.
struct ProcessResult {
  int exitCode = -1;   // −1 when it was killed by a signal
  int termSignal = 0;  // the signal that killed it, if any
  std::string out;
  std::string err;
};

// A program started with arguments in a working directory, its standard output and error
// captured through pipes. Used to drive the real executables in tests.
class ChildProcess {
 public:
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::string& workingDirectory);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  // Reads output until standard output holds `text`; false on timeout or end of output.
  bool waitForOutput(std::string_view text, std::chrono::milliseconds timeout);
  void sendSignal(int signal);
  // Closes the reading end of standard output, as a reader that goes away does.
  void closeOutput();
  // Reads the rest of the output and waits for the process to end (killing it after the
  // timeout).
  ProcessResult finish(std::chrono::milliseconds timeout);

 private:
  // Reads what is available within `timeout`; false once both pipes are closed.
  bool readSome(std::chrono::milliseconds timeout);

  int pid_ = -1;
  int outFd_ = -1;
  int errFd_ = -1;
  ProcessResult result_;
};

// Runs a program to its end.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& workingDirectory,
                         std::chrono::milliseconds timeout = std::chrono::minutes(5));

}  // namespace brevandor::testing
