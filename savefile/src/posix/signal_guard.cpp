#include "signal_guard.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>

namespace savefile::signal_guard {

namespace {

static_assert(std::atomic<int>::is_always_lock_free, "a signal handler may only use lock-free atomics");

// Each signal that would end the process, and how it was handled before.
struct Guarded {
  int signal;
  struct sigaction previous;
};
Guarded g_signals[] = {{SIGINT, {}}, {SIGTERM, {}}, {SIGHUP, {}}};

// The file removed, as a terminated string that the handler can use as it is.
char g_path[PATH_MAX];
std::atomic<int> g_guarded{0};
// Flags that every thread sees: a mask would hold a signal on one thread only.
std::atomic<int> g_held{0};
std::atomic<int> g_pending{0};

void restore(int signal) {
  for (const Guarded& guarded : g_signals) {
    if (guarded.signal == signal) ::sigaction(signal, &guarded.previous, nullptr);
  }
}

extern "C" void on_ending_signal(int signal) {
  if (g_held.load() != 0) {
    g_pending.store(signal);
    // Else released meanwhile, perhaps before the pending signal was seen.
    if (g_held.load() != 0) return;
  }
  if (g_guarded.load() != 0) ::unlink(g_path);
  restore(signal);
  ::raise(signal);
}

}  // namespace

void guard(const std::filesystem::path& path) {
  const std::string& name = path.native();
  if (g_guarded.load() != 0 || name.size() >= sizeof g_path) return;
  *std::copy(name.begin(), name.end(), g_path) = '\0';
  g_guarded.store(1);
  struct sigaction action {};
  action.sa_handler = on_ending_signal;
  action.sa_flags = SA_RESTART;
  ::sigemptyset(&action.sa_mask);
  for (Guarded& guarded : g_signals) {
    ::sigaction(guarded.signal, nullptr, &guarded.previous);
    // A signal the process ignores (SIGHUP under nohup) stays ignored.
    if (guarded.previous.sa_handler != SIG_IGN) ::sigaction(guarded.signal, &action, nullptr);
  }
}

void drop() {
  if (g_guarded.load() == 0) return;
  for (const Guarded& guarded : g_signals) restore(guarded.signal);
  g_guarded.store(0);
}

void hold() { g_held.store(1); }

void release() {
  g_held.store(0);
  if (const int signal = g_pending.exchange(0)) ::raise(signal);
}

}  // namespace savefile::signal_guard
