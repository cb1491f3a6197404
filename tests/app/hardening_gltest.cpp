// The game keeps running where the machine is not what it expects: a window whose context has
// no stencil buffer.
#include "app/Game.h"
#include "render/GlState.h"
#include "render/ViewLayout.h"
#include "support/GlContext.h"
#include "support/GameFrame.h"
#include "support/RoundDriver.h"
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

TEST(NoStencil, ShadowsDrawWithoutAStencilBuffer) {
    GlContext& gl = glContext();
    setInitialGlState(gl.width, gl.height);
    Game game(31, false);
    runSetUp(game);
    game.gameRunning = true;

    // A second window whose context asks for no stencil, sharing the game's lists and textures.
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 1);
    SDL_Window* bare = SDL_CreateWindow("no stencil", 0, 0, windowWidth, windowHeight,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(bare, nullptr) << SDL_GetError();
    SDL_GLContext context = SDL_GL_CreateContext(bare);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
    ASSERT_NE(context, nullptr) << SDL_GetError();
    ASSERT_EQ(SDL_GL_MakeCurrent(bare, context), 0);
    GLint stencilBits = -1;
    glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
    RecordProperty("stencilBits", stencilBits);
    setInitialGlState(windowWidth, windowHeight);

    game.round.shadowsOn = true;
    RoundDriver driver(game.round);
    RandomKeys keys(5);
    for (int i = 0; i < 20; ++i) {
        const KeyState held = keys.next();
        for (int t = 0; t < 42; ++t)
            driver.tick(held);
        game.round.shadowsOn = true;
        drawFrame(game);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "frame " << i;
    }
    // The frame is drawn, shadows or not: the overview is not left black.
    std::vector<uint8_t> rgb(3);
    glReadBuffer(GL_BACK);
    glReadPixels(windowWidth / 2, windowHeight - 100, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    EXPECT_GT(rgb[0] + rgb[1] + rgb[2], 0);

    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(gl.window), gl.context);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(bare);
}
