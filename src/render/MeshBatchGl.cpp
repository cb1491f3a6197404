#include "render/MeshBatchGl.h"
#include <GL/gl.h>

void drawMeshBatch(const MeshBatch& batch, bool withColour) {
    const std::vector<MeshVertex>& v = batch.points();
    const std::vector<unsigned int>& triangles = batch.indices();
    if (!triangles.empty()) {
        const GLsizei stride = sizeof(MeshVertex);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glVertexPointer(3, GL_FLOAT, stride, v[0].position);
        glNormalPointer(GL_FLOAT, stride, v[0].normal);
        if (withColour) {
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(4, GL_FLOAT, stride, v[0].colour);
        }
        // Inside a display list being compiled the arrays are copied into the list here.
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(triangles.size()), GL_UNSIGNED_INT,
                       triangles.data());
        if (withColour)
            glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
    // After array drawing the current normal and colour are undefined: set what the pieces
    // drawn one by one would have left.
    glNormal3fv(batch.lastNormal());
    if (withColour)
        glColor4fv(batch.lastColour());
}
