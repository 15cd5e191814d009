#include "render/screen_triangle.h"

#include "core/gl_api.h"

namespace {
GLuint vertexBuffer = 0;
GLuint vertexArray = 0;

// Counter-clockwise in clip space.
const float corners[3][2] = {{-200.0f, 300.0f}, {-200.0f, -200.0f}, {300.0f, -200.0f}};
}  // namespace

void createScreenTriangle()
{
    glGenBuffers(1, &vertexBuffer);
    glGenVertexArrays(1, &vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof(corners), corners, GL_STATIC_DRAW);
    glBindVertexArray(vertexArray);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(0);
}

void drawScreenTriangle()
{
    glBindVertexArray(vertexArray);
    glDrawArrays(GL_TRIANGLES, 0, 3);
}
