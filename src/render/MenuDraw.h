#pragma once
#include "render/RoundView.h"

// The title or help picture and the grey pointer (needs GL).
void drawMenuScene(const MenuView& view);
