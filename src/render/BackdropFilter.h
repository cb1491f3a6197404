#pragma once

// Sets how the bound backdrop picture is sampled (needs GL; may be compiled into a display list).
// Each backdrop wall maps its whole picture once, so the picture's edges are clamped: repeating
// would blend the far edge into each wall's ends, over many texels at the coarse levels a wall
// seen edge-on takes. Where the renderer can, the picture is filtered along the direction it is
// squeezed in, so that a side wall seen at a grazing angle near a corner keeps its trees sharp
// instead of smearing them into a streaked band.
void backdropTextureFilter();
