#include "AssetSet.h"

#include "Art.h"
#include "IconArt.h"
#include "Sound.h"

#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <vector>

namespace assetgen {
namespace {

struct SeriesNames {
    const char* whole; // the name a season's own picture ends with
    const char* step;  // the shorter name of the blend steps
};

const char* const seasonNames[] = {"spring_summer", "autumn", "winter"};
// The blend steps lead from each season to the next: spring-summer, autumn, winter and back.
const char* const passageNames[] = {"sprSum_aut", "aut_wint", "wint_sprSum"};

void writeBmp(const std::string& dir, const std::string& name, const Picture& picture) {
    writeFile(dir + "/" + name, encodeBmp(picture));
}

// One season series: for each season its own picture, then the four blends toward the next.
void writeSeasonSeries(const std::string& dir, SeriesNames names,
                       const std::function<Picture(Season)>& paint) {
    const Picture seasons[] = {paint(Season::SpringSummer), paint(Season::Autumn),
                               paint(Season::Winter)};
    for (int s = 0; s < 3; ++s) {
        writeBmp(dir, std::string(seasonNames[s]) + "_" + names.whole + ".bmp", seasons[s]);
        for (int step = 1; step <= 4; ++step) {
            const Picture blend = blendPictures(seasons[s], seasons[(s + 1) % 3], step);
            writeBmp(dir,
                     std::string(passageNames[s]) + "_" + names.step + std::to_string(step * 20) +
                         ".bmp",
                     blend);
        }
    }
}

} // namespace

void writeAllAssets(const std::string& outDir) {
    const std::string textures = outDir + "/textures";
    const std::string sounds = outDir + "/sounds";
    std::filesystem::create_directories(textures);
    std::filesystem::create_directories(sounds);

    // The two large menu pictures take longest; paint them beside the rest.
    auto title = std::async(std::launch::async, paintTitle);
    auto help = std::async(std::launch::async, paintHelp);

    writeSeasonSeries(textures, {"ground", "ground"}, paintGround);
    writeSeasonSeries(textures, {"background", "back"}, paintOverviewBackdrop);
    writeSeasonSeries(textures, {"orthogonal", "orth"}, paintEyeLevelBackdrop);

    const Picture road = paintRoad();
    writeBmp(textures, "tile_road.bmp", road);
    writeBmp(textures, "tile_road_v.bmp", turnQuarter(road));
    writeBmp(textures, "particle.bmp", paintFireGlow());
    writeBmp(textures, "particle_cloud.bmp", paintFlake());
    writeBmp(textures, "cheese.bmp", paintCheese());
    writeBmp(textures, "item_bomb.bmp", paintItemCard(ItemCard::Bomb));
    writeBmp(textures, "item_speed.bmp", paintItemCard(ItemCard::Speed));
    writeBmp(textures, "item_fire.bmp", paintItemCard(ItemCard::Fire));
    writeBmp(textures, "item_maxfire.bmp", paintItemCard(ItemCard::MaxFire));
    writeBmp(textures, "item_wall.bmp", paintItemCard(ItemCard::Wall));
    writeBmp(textures, "item_trap.bmp", paintItemCard(ItemCard::Trap));
    writeBmp(textures, "wall_top.bmp", paintWallTop());
    writeBmp(textures, "wall_side.bmp", paintWallSide());
    writeBmp(textures, "maze_wall.bmp", paintHedge());
    writeBmp(textures, "maze_wall_inside.bmp", paintStoneWall());

    writeFile(sounds + "/reefer_c1.wav", encodeWav(composeMusicLoop(), soundRate));
    writeFile(sounds + "/smexp.wav", encodeWav(synthesizeExplosion(), soundRate));
    writeFile(sounds + "/wallbounce.wav", encodeWav(synthesizeWallBounce(), soundRate));
    writeFile(sounds + "/caught.wav", encodeWav(synthesizeCaught(), soundRate));

    writeBmp(textures, "help.bmp", help.get());
    writeBmp(textures, "menu.bmp", title.get());
    writeBmp(textures, "font.bmp", paintFontAtlas());

    writeIcons(outDir);
}

} // namespace assetgen
