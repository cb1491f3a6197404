#include "scene/Camera.h"
#include <GL/glu.h>

void Camera::apply() const {
    gluLookAt(position.x, position.y, position.z, view.x, view.y, view.z, up.x, up.y, up.z);
}
