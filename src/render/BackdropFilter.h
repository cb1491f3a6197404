#pragma once

// Sets how the bound backdrop picture is sampled (needs GL; may be compiled into a display list).
// Each backdrop wall maps its whole picture once, so the picture's edges are clamped: repeating
// would blend the far edge into each wall's ends, over many texels at the coarse levels a wall
// seen edge-on takes. Where the renderer can, the picture is filtered along the direction it is
// squeezed in, so that a side wall seen at a grazing angle near a corner keeps its trees sharp
// instead of smearing them into a streaked band.
// `alongSqueeze` false leaves that filtering off and takes a finer level, for the player views'
// walls, which show narrowed pictures where they are seen aslant (below): on a software renderer
// the filtering along the squeeze costs as much for a picture barely squeezed as for one seen
// edge-on.
void backdropTextureFilter(bool alongSqueeze = true);

// The player views' backdrop picture also comes narrowed along the wall 2, 4 and 8 times, each
// narrowing with its own mipmap chain. A stretch of wall seen aslant shows the picture narrowed
// about as much as the slant squeezes it: the plain filter then keeps it as sharp up the wall as
// filtering along the squeeze does, at the cost of the plain filter.
constexpr int backdropNarrowings = 3;
// A wall is judged in this many equal pieces along its length.
constexpr int backdropWallPieces = 16;

// A stretch of a backdrop wall, from `from` to `to` of its length (0 to 1), and the picture it
// shows: 0 the picture itself, k the picture narrowed 2^k times.
struct BackdropRun {
    float from = 0, to = 1;
    int narrowing = 0;
};

// The stretches of the standing wall from (x0, y0) to (x1, y1) seen from a player's eye at
// (eyeX, eyeY): each piece of the wall takes the narrowing its slant from the eye asks for, and
// neighbouring pieces of one narrowing join. Writes them into `runs` from the wall's start and
// returns how many there are (1 to backdropWallPieces).
int backdropWallRuns(float eyeX, float eyeY, float x0, float y0, float x1, float y1,
                     BackdropRun runs[backdropWallPieces]);
