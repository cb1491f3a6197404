#include "render/Presentation.h"
#include <GL/gl.h>

Presentation::Presentation() : sceneLight(GL_LIGHT0), spotLight(GL_LIGHT1) {}

void Presentation::setLights() {
    const float sceneAmbient[4] = {0.3f, 0.3f, 0.3f, 0.5f};
    const float sceneDiffuse[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    const float sceneSpecular[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const float spotAmbient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
    const float spotDiffuse[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    const float spotSpecular[4] = {0.9f, 0.9f, 0.9f, 1.0f};
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    sceneLight.setColours(sceneAmbient, sceneDiffuse, sceneSpecular);
    sceneLight.setPosition(7.5f, 7.5f, 1.0f, false);
    spotLight.setColours(spotAmbient, spotDiffuse, spotSpecular);
    spotLight.setPosition(0, 0, 1, true);
    spotLight.setSpot(0, 0, -1, 10, 2);
    glPopMatrix();
}
