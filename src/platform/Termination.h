#pragma once
#include <sys/types.h>

// SIGTERM and SIGINT end the program within a second, whatever it is doing. The main loop sees
// terminationRequested() on its next event and ends the ordinary way; should the program still
// run half a second later (loading pictures, waiting on a stalled device), a watcher thread ends
// it by the signal's own default action. A second signal ends it at once. An error box being
// shown is closed the moment the signal comes.
void installTerminationHandlers();
bool terminationRequested();

// The process group of the error box on screen, killed with the program; 0 when none is.
void setErrorBoxGroup(pid_t group);
