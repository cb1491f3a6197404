#include "support/GlContext.h"
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <SDL.h>
#include <cstdio>
#include <cstdlib>

namespace {
GlContext* shared = nullptr;

void initGlut() {
    static bool done = false;
    if (done)
        return;
    done = true;
    int argc = 1;
    char name[] = "gl_tests";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
}
} // namespace

GlContext& glContext() {
    if (shared)
        return *shared;
    initGlut();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        std::abort();
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    shared = new GlContext;
    SDL_Window* w = SDL_CreateWindow("gl tests", 0, 0, shared->width, shared->height,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!w) {
        std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
        std::abort();
    }
    SDL_GLContext c = SDL_GL_CreateContext(w);
    if (!c) {
        std::fprintf(stderr, "GL context: %s\n", SDL_GetError());
        std::abort();
    }
    SDL_GL_MakeCurrent(w, c);
    shared->window = w;
    shared->context = c;
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &shared->stencilBits);
    return *shared;
}

void GlContext::readPixel(int x, int y, uint8_t rgb[3]) const {
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
}

std::vector<uint8_t> GlContext::readRgb(int x, int y, int w, int h) const {
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, w, h, GL_RGB, GL_UNSIGNED_BYTE, out.data());
    return out;
}
