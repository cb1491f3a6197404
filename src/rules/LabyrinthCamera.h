#pragma once

class Camera;
class MazeGenerator;

// How far behind the figure a player's camera stands in the labyrinth, where no wall is nearer.
float labyrinthCameraDistance(float bodyRadius);

// Puts the camera of a player at (x, y) in the labyrinth on its line from the figure, at the full
// distance, or nearer where a labyrinth wall stands on that line: never behind a wall. The
// direction the camera looks, and so the walking direction, stays as it was.
void keepCameraOffWalls(Camera& camera, const MazeGenerator& maze, float x, float y,
                        float bodyRadius);

// Whether the point (x, y) lies within `reach` of a labyrinth wall (the outer walls and their
// doors included).
bool nearLabyrinthWall(const MazeGenerator& maze, float x, float y, float reach);
