/* Time from starting the game to its first title frame on screen, watched from outside through
 * the X server. Each run starts the program, finds its window, and samples three rows of the
 * window every few milliseconds; once the title has stood still for a while, the last sample is
 * the finished title, and the first sample that already matched it marks the first title frame.
 * Then the window is asked to close.
 *   startup_bench PROGRAM [RUNS]   (run from the folder that holds textures/ and sounds/) */
#define _DEFAULT_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { width = 1024, rows = 3, maxSamples = 4000 };
static const int sampleRows[rows] = {120, 367, 650};
static const double settleMs = 4000; /* how long the title is watched after the window shows */

typedef struct {
    double ms;
    unsigned long pixels[rows][width];
} Sample;

static Sample samples[maxSamples];

static double nowMs(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

/* A window not yet mapped answers XGetImage with an error; that sample is simply skipped. */
static int ignoreErrors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

static long windowPid(Display* d, Window w) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = NULL;
    long pid = -1;
    Atom pidAtom = XInternAtom(d, "_NET_WM_PID", False);
    if (XGetWindowProperty(d, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data != NULL && count == 1)
        pid = (long)*(unsigned long*)data;
    if (data)
        XFree(data);
    return pid;
}

static Window findWindow(Display* d, Window under, long pid) {
    char* name = NULL;
    if (XFetchName(d, under, &name) && name) {
        int match = strcmp(name, "TUVO!!") == 0 && windowPid(d, under) == pid;
        XFree(name);
        if (match)
            return under;
    }
    Window root, parent, *children = NULL;
    unsigned int count = 0;
    Window found = 0;
    if (XQueryTree(d, under, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i)
            found = findWindow(d, children[i], pid);
        if (children)
            XFree(children);
    }
    return found;
}

static int takeSample(Display* d, Window w, Sample* s) {
    for (int r = 0; r < rows; ++r) {
        XImage* image = XGetImage(d, w, 0, sampleRows[r], width, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0;
        for (int x = 0; x < width; ++x)
            s->pixels[r][x] = XGetPixel(image, x, 0);
        XDestroyImage(image);
    }
    s->ms = nowMs();
    return 1;
}

static int channelClose(unsigned long a, unsigned long b) {
    for (int shift = 0; shift < 24; shift += 8) {
        int ca = (int)((a >> shift) & 0xff), cb = (int)((b >> shift) & 0xff);
        if (abs(ca - cb) > 8)
            return 0;
    }
    return 1;
}

/* At least 98 in 100 sampled pixels as in the finished title. */
static int matches(const Sample* s, const Sample* finished) {
    int same = 0;
    for (int r = 0; r < rows; ++r)
        for (int x = 0; x < width; ++x)
            same += channelClose(s->pixels[r][x], finished->pixels[r][x]);
    return same * 100 >= rows * width * 98;
}

/* A title, not a black or half-drawn window: many different colours along the rows. */
static int looksLikePicture(const Sample* s) {
    int changes = 0;
    for (int r = 0; r < rows; ++r)
        for (int x = 1; x < width; ++x)
            changes += s->pixels[r][x] != s->pixels[r][x - 1];
    return changes > width / 4;
}

static void closeWindow(Display* d, Window w) {
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &e);
    XFlush(d);
}

static int endProgram(pid_t pid) {
    for (int i = 0; i < 500; ++i) {
        int status;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
    return -1;
}

/* One run: the milliseconds to the window and to the first title frame, or -1. */
static int run(Display* d, const char* program, double* toWindow, double* toTitle) {
    const double start = nowMs();
    pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, (char*)NULL);
        _exit(127);
    }
    Window w = 0;
    while (!w && nowMs() - start < 30000) {
        w = findWindow(d, DefaultRootWindow(d), pid);
        if (!w)
            usleep(2000);
    }
    if (!w) {
        kill(pid, SIGKILL);
        waitpid(pid, NULL, 0);
        return -1;
    }
    *toWindow = nowMs() - start;
    int count = 0;
    const double shown = nowMs();
    while (nowMs() - shown < settleMs && count < maxSamples) {
        if (takeSample(d, w, &samples[count]))
            ++count;
        usleep(2000);
    }
    closeWindow(d, w);
    const int code = endProgram(pid);
    if (count == 0 || !looksLikePicture(&samples[count - 1]) || code != 0)
        return -1;
    int first = count - 1;
    while (first > 0 && matches(&samples[first - 1], &samples[count - 1]))
        --first;
    *toTitle = samples[first].ms - start;
    return 0;
}

static int byValue(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return (x > y) - (x < y);
}

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: startup_bench PROGRAM [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? atoi(argv[2]) : 5;
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "startup_bench: no display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    double windows[64], titles[64];
    int done = 0;
    for (int i = 0; i < runs && i < 64; ++i) {
        double toWindow = 0, toTitle = 0;
        if (run(d, argv[1], &toWindow, &toTitle) != 0) {
            fprintf(stderr, "startup_bench: run %d failed\n", i + 1);
            return 1;
        }
        printf("run %d: window after %.0f ms, first title frame after %.0f ms\n", i + 1, toWindow,
               toTitle);
        windows[done] = toWindow;
        titles[done] = toTitle;
        ++done;
    }
    qsort(windows, done, sizeof windows[0], byValue);
    qsort(titles, done, sizeof titles[0], byValue);
    printf("median of %d runs: window %.0f ms, first title frame %.0f ms\n", done,
           windows[done / 2], titles[done / 2]);
    XCloseDisplay(d);
    return 0;
}
