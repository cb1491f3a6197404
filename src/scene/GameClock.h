#pragma once

// The round's time in milliseconds. The tick sets it (tick count x 1000/60), so nothing in the
// round reads a wall clock and a seed with the recorded keys replays a round exactly. Tests set
// it by hand.
class GameClock {
  public:
    float now() const { return time; }
    void set(float ms) { time = ms; }
    void advance(float ms) { time += ms; }

  private:
    float time = 0;
};
