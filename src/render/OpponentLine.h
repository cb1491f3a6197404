#pragma once

// The title's opponent line under START, on a dark band across its click area (needs GL).
void drawOpponentLine(const char* text);
