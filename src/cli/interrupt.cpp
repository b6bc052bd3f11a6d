#include "cli/interrupt.h"

#include <csignal>

namespace tsubakuro::cli {

namespace {

volatile std::sig_atomic_t interrupted = 0;

void on_interrupt(int) {
  interrupted = 1;
  std::signal(SIGINT, SIG_DFL);
}

}  // namespace

void watch_interrupt() { std::signal(SIGINT, on_interrupt); }

bool interrupt_requested() { return interrupted != 0; }

}  // namespace tsubakuro::cli
