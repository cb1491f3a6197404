#pragma once
#include <cstdint>

// The actions of one player, in the order the controls handle them each frame.
enum PlayerKey {
    keyForward,
    keyBack,
    keyTrap,
    keyWall,
    keyRight,
    keyLeft,
    keyBomb,
    playerKeyCount
};

// Which keys are held this frame, polled by the platform layer.
struct KeyState {
    bool player[2][playerKeyCount] = {};
    bool shadowToggle = false; // key 0
};

// 14 player keys and key 0 in the low 15 bits: how a tick's keys are recorded and sent.
uint16_t packKeys(const KeyState& keys);
KeyState unpackKeys(uint16_t packed);
