#include "render/RoundView.h"
#include "rules/RoundState.h"

RoundView viewOfRound(const RoundState& g, const Presentation& look) {
    return RoundView{look,
                     g.world,
                     {&g.player1, &g.player2},
                     {&g.creature1, &g.creature2, &g.creature3, &g.creature4},
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
