#include "platform/Termination.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

// The time the program gets to end by itself after a signal, in ms.
constexpr useconds_t kGraceMs = 500;

volatile std::sig_atomic_t signalled = 0; // the signal's number; 0 before any
std::atomic<pid_t> boxGroup{0};
int wakePipe[2] = {-1, -1};

void killBox() {
    const pid_t group = boxGroup.load();
    if (group > 0)
        kill(-group, SIGKILL);
}

// Only async-signal-safe calls here.
void onSignal(int sig) {
    if (signalled != 0) {
        std::signal(sig, SIG_DFL);
        kill(getpid(), sig);
        return;
    }
    signalled = sig;
    killBox();
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(wakePipe[1], &byte, 1);
}

void watch() {
    // The handler must run on the program's own threads, never here.
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, nullptr);
    char byte;
    while (read(wakePipe[0], &byte, 1) < 0 && errno == EINTR) {
    }
    usleep(kGraceMs * 1000);
    const int sig = signalled;
    killBox();
    std::signal(sig, SIG_DFL);
    kill(getpid(), sig);
    // Still here only if every other thread blocks the signal: the status tells of it anyway.
    usleep(100 * 1000);
    _exit(128 + sig);
}

} // namespace

void installTerminationHandlers() {
    if (wakePipe[0] >= 0)
        return;
    if (pipe2(wakePipe, O_CLOEXEC) != 0)
        return; // the signals keep their default action and still end the program
    std::thread(watch).detach();
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait in progress returns, so the waiter looks at the flag.
    action.sa_flags = 0;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool terminationRequested() {
    return signalled != 0;
}

void setErrorBoxGroup(pid_t group) {
    boxGroup.store(group);
}
