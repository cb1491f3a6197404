#pragma once

// On the ground of each of the house's four door cells, a bright arrow pointing in: the way
// into the labyrinth, seen in the player views. Drawn in a view whose camera and depth are set,
// after the ground. It stands still, as the ground does.
void drawDoorMarkers();
