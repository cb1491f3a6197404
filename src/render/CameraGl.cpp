#include "render/CameraGl.h"
#include "scene/Camera.h"
#include <GL/glu.h>

void applyCamera(const Camera& c) {
    gluLookAt(c.position.x, c.position.y, c.position.z, c.view.x, c.view.y, c.view.z, c.up.x,
              c.up.y, c.up.z);
}
