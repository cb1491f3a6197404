#include "platform/ErrorBox.h"
#include "platform/Termination.h"

#include <SDL.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// In the box's process: whatever ends it ends its whole group, which holds the process SDL
// starts to draw the box.
void endBoxGroup(int) {
    kill(0, SIGKILL);
}

[[noreturn]] void runBox(pid_t game, const sigset_t& mask, const char* caption, const char* text,
                         SDL_Window* parent) {
    setpgid(0, 0);
    struct sigaction action {};
    action.sa_handler = endBoxGroup;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
    // The game's death, however it comes, reaches the box as SIGTERM.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != game)
        _exit(0);
    pthread_sigmask(SIG_SETMASK, &mask, nullptr);
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, parent);
    _exit(0);
}

} // namespace

void showErrorBoxAndWait(const char* caption, const char* text, SDL_Window* parent) {
    // Held back over the fork so that neither side runs a handler meant for the other.
    sigset_t stop, previous;
    sigemptyset(&stop);
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaddset(&stop, sig);
    pthread_sigmask(SIG_BLOCK, &stop, &previous);
    const pid_t game = getpid();
    const pid_t box = fork();
    if (box == 0)
        runBox(game, previous, caption, text, parent);
    if (box < 0) {
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, parent);
        return;
    }
    setpgid(box, box); // as the box does itself: whichever runs first
    setErrorBoxGroup(box);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    int status = 0;
    for (;;) {
        const pid_t done = waitpid(box, &status, WNOHANG);
        if (done == box || (done < 0 && errno != EINTR))
            break;
        if (terminationRequested()) {
            kill(-box, SIGKILL);
            waitpid(box, &status, 0);
            break;
        }
        poll(nullptr, 0, 20);
    }
    setErrorBoxGroup(0);
}
