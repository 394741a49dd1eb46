#pragma once

#include <filesystem>

// The signals that end a process (SIGINT, SIGTERM, SIGHUP), on whichever
// thread they come: the file guarded is removed first, and the handler that
// was there before is given the signal.
namespace savefile::signal_guard {

// One file at a time; a second guard is ignored.
void guard(const std::filesystem::path& path);
void drop();
// Between hold() and release(), such a signal waits, and is acted on at the
// release.
void hold();
void release();

}  // namespace savefile::signal_guard
