/* Counts the frames a program shows, for the frames-a-second figure of the real game: loaded with
 * LD_PRELOAD, it stands in for SDL_GL_SwapWindow, notes the time of every swap (CLOCK_REALTIME,
 * so a script can compare it with `date`), and calls SDL's own. At the program's end the times
 * are written, one a line in seconds, to the file named by SWAP_COUNTER_FILE. Works for any build
 * of the game, old or new, without changing it.
 *   LD_PRELOAD=./bench/libswap_counter.so SWAP_COUNTER_FILE=/tmp/swaps.txt ./tuvo */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

enum { maxSwaps = 1 << 20 };
static double swaps[maxSwaps];
static size_t swapCount;

void SDL_GL_SwapWindow(void* window) {
    static void (*real)(void*);
    if (real == NULL)
        real = (void (*)(void*))dlsym(RTLD_NEXT, "SDL_GL_SwapWindow");
    real(window);
    struct timespec t;
    clock_gettime(CLOCK_REALTIME, &t);
    if (swapCount < maxSwaps)
        swaps[swapCount++] = (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

__attribute__((destructor)) static void writeSwaps(void) {
    const char* path = getenv("SWAP_COUNTER_FILE");
    // A program that shows nothing (a shell or a timer around the game) leaves the file alone.
    if (path == NULL || swapCount == 0)
        return;
    FILE* f = fopen(path, "w");
    if (f == NULL)
        return;
    for (size_t i = 0; i < swapCount; ++i)
        fprintf(f, "%.6f\n", swaps[i]);
    fclose(f);
}
