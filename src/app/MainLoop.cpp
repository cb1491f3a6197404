#include "app/MainLoop.h"
#include "app/Controls.h"
#include "app/Game.h"
#include "app/Platform.h"
#include "audio/Sound.h"
#include "render/ViewLayout.h"
#include "render/Views.h"
#include "scene/ErrorReport.h"

namespace {
void gameFrame(Game& game) {
    frameUpdate(game, platform::pollKeys());
    drawGameFrame(game);
    platform::swapBuffers();
    updateSound(game.scheduler.get());
}

void menuFrame(Game& game) {
    // The last event taken stays the last one until another arrives, so a press held still is
    // seen on every idle frame.
    platform::setCursorHidden(menuMouse(game, platform::menuPointer()));
    drawMenuFrame(game);
    platform::swapBuffers();
}

// One waiting event per pass; a frame only when none waits.
int mainLoop(Game& game) {
    for (;;) {
        int code = 0;
        switch (platform::takeEvent(code)) {
        case platform::EventKind::quit:
            return code;
        case platform::EventKind::other:
            continue;
        case platform::EventKind::none:
            break;
        }
        if (game.gameRunning)
            gameFrame(game);
        else
            menuFrame(game);
    }
}
} // namespace

int runProgram(Game& game) {
    if (!platform::createWindow("TUVO!!", windowWidth, windowHeight))
        return 1;
    setErrorBox(platform::showError);
    // Without a context there is nothing to set up: the quit message already waits.
    if (platform::initialiseGl(windowWidth, windowHeight))
        runSetUp(game);
    const int code = mainLoop(game);
    platform::shutdownWindow();
    return code;
}
