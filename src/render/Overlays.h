#pragma once
#include "render/HudLayout.h"
#include <vector>

struct RoundView;

// What is drawn over the views once their scenes are drawn: the band over the overview, the lines
// rising under the inventory columns, the marker of a player in the labyrinth, and in each player
// view its flash, its word and, in the labyrinth, its small map. Each reads the view and changes
// nothing.

// The band's lines for this frame: the result and the round in numbers after 0:00, else a
// waiting line, else "PAUSED"; none while the round plays on.
std::vector<BandLine> bandLinesOf(const RoundView& view);
// Whether a computer plays a side, which its column then says.
bool computerLines(const RoundView& view);
// The dimmed band with its lines over the overview (its viewport current). A menu drawn over the
// round takes its place.
void drawOverviewBand(const RoundView& view);
// The line rising under each player's column for a moment after an event.
void drawColumnEvents(const RoundView& view);
// Over the overview's scene (its camera current): a marker in its colour over the house for each
// player in the labyrinth.
void drawLabyrinthMarkers(const RoundView& view);
// Over player n's view (its viewport current): its flash, its word and its labyrinth map.
void drawPlayerOverlay(const RoundView& view, int playerNumber);
// Whether player n's figure is left out of this frame: it blinks while no creature can catch it.
bool figureBlinkedOut(const RoundView& view, int playerNumber);
