#include "support/GameFrame.h"
#include "app/Game.h"
#include "audio/Sound.h"
#include "render/Views.h"
#include <GL/gl.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

void drawFrame(Game& game) {
    game.gameRunning = true;
    drawGameFrame(roundView(game));
    glFinish();
    game.effects.playEvents(game.round.events());
    updateSound(game.scheduler.get());
}

bool saveScreenshot(const std::string& path, int width, int height) {
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string ppm = path + ".ppm";
    FILE* f = std::fopen(ppm.c_str(), "wb");
    if (!f)
        return false;
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    // GL rows run bottom up; a picture file's top down.
    for (int row = height - 1; row >= 0; --row)
        std::fwrite(rgb.data() + static_cast<size_t>(row) * width * 3, 1,
                    static_cast<size_t>(width) * 3, f);
    std::fclose(f);
    const std::string command = "convert '" + ppm + "' '" + path + "' 2>/dev/null";
    const bool ok = std::system(command.c_str()) == 0;
    std::remove(ppm.c_str());
    return ok;
}
