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
// A wall's picture has more texels a unit up than along it (256 over 6.55 against 512 over 19):
// squeezed that much even when seen squarely, so the plain filter, which takes the level of the
// most squeezed direction, takes a finer level by as much (log2 of 1.45) to stay as sharp.
constexpr float plainBias = -0.5f;
// A wall seen no more slanted than this (the cosine of about 52 degrees) takes the plain filter.
constexpr double plainSquareness = 0.62;

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
    if (!filters)
        return;
    float largest = 1;
    if (alongSqueeze)
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &largest);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                    std::min(wantedAnisotropy, largest));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, alongSqueeze ? 0.0f : plainBias);
}

bool wallSeenAslant(const BackdropEye& eye, float x0, float y0, float x1, float y1) {
    const double wallX = x1 - x0, wallY = y1 - y0;
    const double wallLength = std::sqrt(wallX * wallX + wallY * wallY);
    const double lookLength = std::sqrt(eye.dirX * eye.dirX + eye.dirY * eye.dirY);
    if (wallLength <= 0 || lookLength <= 0)
        return true;
    // A point of the wall seen from the eye: how squarely (the cosine between the ray and the
    // wall's normal) and whether it lies within the view's width.
    auto squareness = [&](double px, double py) {
        const double rx = px - eye.x, ry = py - eye.y;
        const double r = std::sqrt(rx * rx + ry * ry);
        return r <= 0 ? 1.0 : std::abs(rx * wallY - ry * wallX) / (r * wallLength);
    };
    const double lookX = eye.dirX / lookLength, lookY = eye.dirY / lookLength;
    const double widest = std::cos(static_cast<double>(eye.halfWidth));
    auto inView = [&](double px, double py) {
        const double rx = px - eye.x, ry = py - eye.y;
        const double r = std::sqrt(rx * rx + ry * ry);
        return r > 0 && (rx * lookX + ry * lookY) / r >= widest;
    };
    // The part of the wall in view ends at a corner of the wall or where an edge of the view
    // crosses it; the slant is steepest at one of those ends.
    double least = 2;
    if (inView(x0, y0))
        least = std::min(least, squareness(x0, y0));
    if (inView(x1, y1))
        least = std::min(least, squareness(x1, y1));
    for (const double side : {-1.0, 1.0}) {
        const double angle = side * static_cast<double>(eye.halfWidth);
        const double edgeX = lookX * std::cos(angle) - lookY * std::sin(angle);
        const double edgeY = lookX * std::sin(angle) + lookY * std::cos(angle);
        // eye + t edge = (x0, y0) + s wall, t > 0 and s in [0, 1].
        const double cross = edgeX * wallY - edgeY * wallX;
        if (std::abs(cross) < 1e-12)
            continue;
        const double gapX = x0 - eye.x, gapY = y0 - eye.y;
        const double t = (gapX * wallY - gapY * wallX) / cross;
        const double s = (gapX * edgeY - gapY * edgeX) / cross;
        if (t > 0 && s >= 0 && s <= 1)
            least = std::min(least, squareness(x0 + s * wallX, y0 + s * wallY));
    }
    // Not in view at all: nothing to filter.
    if (least > 1)
        return false;
    // The view also looks up and down the wall, which squeezes a little more: a picture
    // squeezed less than about 1.6 times loses little by the plain filter.
    return least * aslantElevation < plainSquareness;
}
