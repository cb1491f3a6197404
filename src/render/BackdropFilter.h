#pragma once

// Sets how the bound backdrop picture is sampled (needs GL; may be compiled into a display list).
// Each backdrop wall maps its whole picture once, so the picture's edges are clamped: repeating
// would blend the far edge into each wall's ends, over many texels at the coarse levels a wall
// seen edge-on takes. Where the renderer can, the picture is filtered along the direction it is
// squeezed in, so that a side wall seen at a grazing angle near a corner keeps its trees sharp
// instead of smearing them into a streaked band.
// `alongSqueeze` false leaves that filtering off, for a wall no view sees aslant: on a software
// renderer it costs as much for a picture barely squeezed as for one seen edge-on.
void backdropTextureFilter(bool alongSqueeze = true);

// How a player view's eye sees the backdrop: from (x, y), looking along (dirX, dirY) (of any
// length) with `halfWidth` radians to each side of it.
struct BackdropEye {
    float x, y, dirX, dirY, halfWidth;
};

// Whether the standing backdrop wall from (x0, y0) to (x1, y1) shows anywhere in that view at a
// slant steep enough to squeeze its picture, so that it needs the filtering along the squeeze.
bool wallSeenAslant(const BackdropEye& eye, float x0, float y0, float x1, float y1);
