#pragma once
#include <string>
#include <vector>
#include <cstdint>

struct Presentation;
struct RoundState;
class MazeWorld;
class Player;
class Creature;
class ParticleSystem;
class Camera;
class RoundFeedback;
struct LabyrinthSight;

// Everything a game frame shows, read-only: the round's state and the GL's models of it.
struct RoundView {
    const Presentation& look;
    const MazeWorld& world;
    const Player* players[2];
    const Creature* creatures[4];
    const ParticleSystem& particles;
    const Camera& overviewCamera;
    const Camera* playerCameras[2];
    int32_t seasonStep;
    float seasonPhase;
    float gameTime;
    bool roundOver;
    bool shadowsOn;
    bool paused = false;
    // The pause menu lies over the frame and says "PAUSED" itself: the band leaves it out.
    bool pauseMenuShown = false;
    // A line over the overview in place of the result (a network round's state); null: none.
    const char* banner = nullptr;
    // What each player has seen of the labyrinth, for its small map.
    const LabyrinthSight* sight[2] = {nullptr, nullptr};
    // The events shown to the players; null: none (a frame drawn without the game's memory).
    const RoundFeedback* feedback = nullptr;
    // Under each player's counts: which computer player plays it; null for a person.
    const char* computer[2] = {nullptr, nullptr};

    const Player& player(int n) const { return *players[n == 2 ? 1 : 0]; }
};

// What a frame shows of this round, drawn with these pictures and models.
RoundView viewOfRound(const RoundState& round, const Presentation& look);

// The title menu's frame: the title or help picture and the pointer, in menu units.
struct MenuView {
    const Presentation& look;
    const Camera& menuCamera;
    bool helpShown;
    float mouseX, mouseY;
    const char* status = nullptr; // a line under the buttons; null: none
    // The highlighted button and a button that cannot be pressed yet, in menu units; an empty
    // box (left == right): none.
    struct Box {
        float left = 0, right = 0, bottom = 0, top = 0;
    };
    Box highlight{}, dimmed{};
    const char* opponent = nullptr; // the opponent line under START; null: none
    // HELP's keys as they are set, per player: (action, key) in the order HELP lists them.
    struct HelpKey {
        std::string action, key;
    };
    std::vector<HelpKey> helpKeys[2] = {};
};
