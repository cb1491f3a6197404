#pragma once

class Player;
class Creature;
struct Bomb;
struct WorldModels;

// A player's figure compiled once: body with hands and tail, head, face. The feet swing, so
// they are gathered anew each time the figure is drawn.
struct FigureModel {
    unsigned int body = 0, head = 0, face = 0;
    // Needs a GL context; a second call does nothing.
    void build(const Player& player);
};

// The figure where the player stands, turned to its heading, with the cheese it carries; outside
// the shadow pass in its colours and with the bombs it has lying.
void drawPlayer(const Player& player, const FigureModel& model, const WorldModels& models,
                bool shadowPass);
// A creature, unless a blast has removed it.
void drawCreature(const Creature& creature, bool shadowPass);
// A lying bomb, pulsing on its cell.
void drawBomb(const Bomb& bomb);
