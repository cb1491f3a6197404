#include "render/RoundView.h"
#include "rules/RoundState.h"

RoundView viewOfRound(const RoundState& g, const Presentation& look) {
    return RoundView{look,
                     g.world,
                     {&g.player1, &g.player2},
                     {&g.creatures[0], &g.creatures[1], &g.creatures[2], &g.creatures[3]},
                     g.particles,
                     g.overviewCamera,
                     {&g.player1Camera, &g.player2Camera},
                     g.seasons.step,
                     g.seasonPhase,
                     g.gameTime,
                     g.roundOver,
                     g.shadowsOn,
                     g.paused,
                     false,
                     nullptr,
                     {&g.sight[0], &g.sight[1]}};
}
