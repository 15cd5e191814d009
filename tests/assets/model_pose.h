#pragma once
// How the model tests frame model `index` of the show's table for a picture: the credits seen
// from the camera's side (+z), the sculptures with the carousel's 1:4:1 stretch, the rest
// turned a little; the camera stands `distance` away, slightly above.
#include <glm/gtc/matrix_transform.hpp>

struct ModelPose {
    glm::mat4 place;
    float distance;
};

inline ModelPose modelPose(int index)
{
    const glm::mat4 turned = glm::rotate(glm::mat4(1.0f), glm::radians(30.0f), glm::vec3(0, 1, 0));
    if (index == 2)
        // The credits stand at (24, -1, -4), two lines turned 55 degrees to face the show's
        // approaching camera: brought back to the origin and turned to face +z.
        return {glm::scale(glm::mat4(1.0f), glm::vec3(0.4f)) *
                    glm::rotate(glm::mat4(1.0f), glm::radians(55.0f), glm::vec3(0, 1, 0)) *
                    glm::translate(glm::mat4(1.0f), glm::vec3(-24.0f, -0.3f, 4.0f)),
                7.0f};
    if (index >= 3)
        return {glm::scale(glm::mat4(1.0f), glm::vec3(0.25f, 1.0f, 0.25f)) * turned, 3.2f};
    return {turned, 4.0f};
}
