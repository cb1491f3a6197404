#include "render/BackdropFilter.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Enough for the walls seen most edge-on from a player's eye; more costs fill for nothing seen.
constexpr float wantedAnisotropy = 8;
// The cosine of the steepest elevation at which a view sees the backdrop's walls (about 25
// degrees: the walls stand two cells or more beyond the arena, the eye 0.9 above the ground).
constexpr double aslantElevation = 0.9;
// A wall's picture has fewer texels a unit along it than up it (512 over 19 against 256 over
// 6.55): seen squarely it shows 0.69 times as squeezed along as up.
constexpr double pictureSqueeze = (512.0 / 19.0) / (256.0 / 6.55);
// So the plain filter, which takes the level of the most squeezed direction, takes a finer level
// to stay about as sharp. By that reckoning a whole level's half (log2 of 1.45); held against
// the walls drawn with the filter along the squeeze, a quarter comes nearer: the trees of a wall
// seen squarely then show as soft as there, where half a level drew their outlines sharper.
constexpr float plainBias = -0.25f;

bool hasExtension(const char* name) {
    const char* all = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (all == nullptr)
        return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(all, name); at; at = std::strstr(at + length, name))
        if ((at == all || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
            return true;
    return false;
}
} // namespace

void backdropTextureFilter(bool alongSqueeze) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    // Asked once: the answer does not change, and the walls ask every frame.
    static const bool filters = hasExtension("GL_EXT_texture_filter_anisotropic") ||
                                hasExtension("GL_ARB_texture_filter_anisotropic");
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, alongSqueeze && filters ? 0.0f : plainBias);
    if (!filters)
        return;
    float largest = 1;
    if (alongSqueeze)
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &largest);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                    std::min(wantedAnisotropy, largest));
}

int backdropWallRuns(float eyeX, float eyeY, float x0, float y0, float x1, float y1,
                     BackdropRun runs[backdropWallPieces]) {
    const double wallX = x1 - x0, wallY = y1 - y0;
    const double wallLength = std::sqrt(wallX * wallX + wallY * wallY);
    // The eye's distance from the wall's line.
    const double across =
        wallLength > 0 ? std::abs((eyeX - x0) * wallY - (eyeY - y0) * wallX) / wallLength : 0;
    int count = 0;
    for (int k = 0; k < backdropWallPieces; ++k) {
        const float from = static_cast<float>(k) / backdropWallPieces;
        const float to = static_cast<float>(k + 1) / backdropWallPieces;
        // At the piece's middle a unit along the wall looks `distance / across` times shorter
        // than a unit up it, and the view's look up or down the wall squeezes the picture up it
        // a little too.
        const double middle = (from + to) / 2.0;
        const double rx = x0 + middle * wallX - eyeX, ry = y0 + middle * wallY - eyeY;
        const double distance = std::sqrt(rx * rx + ry * ry);
        const double squeeze =
            across > 1e-6 ? pictureSqueeze * aslantElevation * distance / across : 1e6;
        const int narrowing =
            std::clamp(static_cast<int>(std::lround(std::log2(std::max(squeeze, 1.0)))), 0,
                       backdropNarrowings);
        if (count > 0 && runs[count - 1].narrowing == narrowing) {
            runs[count - 1].to = to;
        } else {
            runs[count] = BackdropRun{from, to, narrowing};
            ++count;
        }
    }
    return count;
}
