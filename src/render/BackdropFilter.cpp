#include "render/BackdropFilter.h"
#include <GL/gl.h>
#include <GL/glext.h>
#include <algorithm>
#include <cstring>

namespace {
// Enough for the walls seen most edge-on from a player's eye; more costs fill for nothing seen.
constexpr float wantedAnisotropy = 8;

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

void backdropTextureFilter() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (!hasExtension("GL_EXT_texture_filter_anisotropic") &&
        !hasExtension("GL_ARB_texture_filter_anisotropic"))
        return;
    float largest = 1;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &largest);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT,
                    std::min(wantedAnisotropy, largest));
}
