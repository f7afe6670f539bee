#pragma once

// Opens web addresses with the desktop's handler: `xdg-open ADDRESS`, started with posix_spawnp
// (never through a shell) and not waited for. Started children are reaped without blocking on
// every later call and on every editor idle, so none stays a zombie for longer than the host's
// next idle after it ends; the module never installs a SIGCHLD handler (that belongs to the host).
//
// Threads: [any thread]; the list of children has its own lock.
namespace WebLauncher {

// False when the address is empty, looks like an option (starts with '-') or xdg-open cannot be
// started.
bool Open(const char* address);
// Reaps the children that have ended.
void Reap();
// Children started and not reaped yet (for tests).
int Pending();

}  // namespace WebLauncher
