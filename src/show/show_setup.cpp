#include "show/show_setup.h"

#include "assets/ground_plane.h"
#include "assets/textures.h"
#include "render/camera.h"
#include "render/lights.h"

void configureGroundPlaneCameraAndLights(uint32_t screenWidth, uint32_t screenHeight)
{
    groundPlane->setTextures(textureNames[3], textureNames[4]);
    groundPlane->setTs(-0.125f);

    // The camera's setters depend on each other: this order is the one that works.
    showCamera.setScreenSize(screenWidth, screenHeight);
    showCamera.setNear(0.1f);
    showCamera.setExposure(glm::vec3(1.0f, 1.0f, 1.0f));
    showCamera.setFar(100.0f);
    showCamera.setFocalLength(35.0f);
    showCamera.setPhysicalExposure(true);
    showCamera.setFocus(15.0f, 0.075f);
    showCamera.updateProjection();

    ambientLight.setEnvironmentTexture(textureNames[1]);
    ambientLight.setColor(glm::vec3(0.4172549f));   // bit pattern 0x3ED5A26F in each component
    directionalLight.setDirection(glm::vec3(0.0f, -1.0f, 0.0f));
    directionalLight.setColor(glm::vec3(2.0f, 1.0f, 0.75f));
}
