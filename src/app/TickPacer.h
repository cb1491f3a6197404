#pragma once
#include "rules/RoundTick.h"

// Turns real time into due ticks. The first tick is due at once; after that one tick falls due
// every 1000/60 ms. At most maxPerFrame run before a frame is drawn: time owed beyond that is
// let go, so below four drawn frames a second the whole game slows evenly instead of spending
// ever longer catching up.
class TickPacer {
  public:
    static constexpr int maxPerFrame = 15;

    // Ticks due at real time nowMs (milliseconds on any steady clock).
    int due(double nowMs) {
        if (!started) {
            started = true;
            last = nowMs;
            owed = tickMs;
        }
        owed += nowMs - last;
        last = nowMs;
        // A microsecond of slack keeps rounding from holding a tick that is due back a frame.
        int n = static_cast<int>((owed + 1e-3) / tickMs);
        if (n > maxPerFrame) {
            n = maxPerFrame;
            owed = 0;
        } else {
            owed -= n * tickMs;
        }
        return n;
    }
    // The next call starts counting afresh (a new round).
    void restart() { started = false; }
    // Ticks counted as due that did not run (their keys were not there yet): still owed.
    void owe(int ticks) {
        if (ticks > 0)
            owed += ticks * tickMs;
    }
    // After a pause: the time since the last call is not owed.
    void resume(double nowMs) { last = nowMs; }

  private:
    bool started = false;
    double last = 0;
    double owed = 0;
};
