#pragma once

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
