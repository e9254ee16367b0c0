#pragma once
// SIGTERM, SIGINT and SIGHUP as an event: while an object of this class lives, each of them writes
// a byte into a pipe that the event loop polls, and the loop ends the run as a close would.
#include <csignal>

namespace tolvenar::linux_port {

class TerminationSignals {
 public:
  // Makes the pipe and installs the handlers; the previous handlers come back on destruction.
  TerminationSignals();
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;
  ~TerminationSignals();

  // The pipe's read end, for poll; -1 when it could not be made (signals then end the process).
  int fd() const { return read_fd_; }
  // True when a signal came since the last call; never blocks.
  bool TakeRequest();

 private:
  int read_fd_ = -1;
  struct sigaction previous_[3]{};
};

}  // namespace tolvenar::linux_port
