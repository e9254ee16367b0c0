#include "runtime/linux/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tolvenar::linux_port {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe's write end: a signal handler has no other way to reach its object.
volatile sig_atomic_t g_wake_fd = -1;

extern "C" void OnTerminationSignal(int) {
  const int saved = errno;
  const char byte = 'T';
  if (g_wake_fd >= 0) (void)!write(g_wake_fd, &byte, 1);
  errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  read_fd_ = fds[0];
  g_wake_fd = fds[1];
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
}

TerminationSignals::~TerminationSignals() {
  if (read_fd_ < 0) return;
  for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
  const int write_fd = g_wake_fd;
  g_wake_fd = -1;
  close(write_fd);
  close(read_fd_);
}

bool TerminationSignals::TakeRequest() {
  if (read_fd_ < 0) return false;
  bool requested = false;
  char buffer[64];
  while (read(read_fd_, buffer, sizeof buffer) > 0) requested = true;
  return requested;
}

}  // namespace tolvenar::linux_port
