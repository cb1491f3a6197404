#pragma once

// Gives `texture` empty RGBA storage of w by h to draw into, sampled with `filter` both ways and
// clamped at its edges (needs GL; leaves the 2D texture binding as it found it). `format` is the
// GL's internal format: eight bits a channel unless told otherwise.
void shapePictureTexture(unsigned int texture, int w, int h, int filter, int format = 0);

// Once a picture's colours are drawn over a clear alpha of 0: sets the alpha to 1 wherever
// something was drawn (everything nearer than the far plane), colours and depth untouched. The
// projection and model-view are left at identity, the model-view current.
void markDrawnInAlpha();
