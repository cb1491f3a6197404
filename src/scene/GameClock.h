#pragma once

// The one clock of the game, in milliseconds. It reads 0 at its first query, which the first
// game frame makes, so the round and the seasons start when the game starts. Tests switch it to
// manual time and set the time by hand.
class GameClock {
  public:
    // Elapsed time in milliseconds as a float.
    float now();
    void setManual(float ms) {
        manual = true;
        manualTime = ms;
    }
    void advance(float ms) { manualTime += ms; }
    bool isManual() const { return manual; }

  private:
    bool manual = false;
    float manualTime = 0;
    bool started = false;
    int origin = 0;
};
