#include "platform/Termination.h"

#include <gtest/gtest.h>

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts a child that installs the handlers, says so through a pipe, then either waits for
// the flag the way the main loop does (and exits with 7 on seeing it) or never looks at it,
// like a program busy loading. Answers the child's process id.
pid_t startChild(bool looksAtTheFlag) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        installTerminationHandlers();
        const char byte = 1;
        if (write(ready[1], &byte, 1) != 1)
            _exit(2);
        for (int i = 0; i < 1000; ++i) {
            if (looksAtTheFlag && terminationRequested())
                _exit(7);
            poll(nullptr, 0, 10);
        }
        _exit(3); // ten seconds without being ended
    }
    char byte;
    EXPECT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    return child;
}

int statusAfter(pid_t child, int sig) {
    kill(child, sig);
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return status;
}

TEST(Termination, TheMainLoopSeesTheSignalAndEndsTheOrdinaryWay) {
    for (int sig : {SIGTERM, SIGINT}) {
        const int status = statusAfter(startChild(true), sig);
        ASSERT_TRUE(WIFEXITED(status)) << sig;
        EXPECT_EQ(WEXITSTATUS(status), 7) << sig;
    }
}

TEST(Termination, AProgramThatNeverLooksIsEndedByTheSignalAnyway) {
    for (int sig : {SIGTERM, SIGINT}) {
        const int status = statusAfter(startChild(false), sig);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), sig);
    }
}

} // namespace
