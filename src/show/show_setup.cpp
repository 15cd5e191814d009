#include "show/show_setup.h"

#include "assets/textures.h"
#include "core/texture_units.h"
#include "objects/ground_plane.h"
#include "render/camera.h"
#include "render/lights.h"
#include "show/show.h"

void configureCamera(Camera& camera, uint32_t screenWidth, uint32_t screenHeight)
{
    // The camera's setters depend on each other: this order is the one that works.
    camera.setScreenSize(screenWidth, screenHeight);
    camera.setNear(0.1f);
    camera.setExposure(glm::vec3(1.0f, 1.0f, 1.0f));
    camera.setFar(100.0f);
    camera.setFocalLength(35.0f);
    camera.setPhysicalExposure(true);
    camera.setFocus(startupFocusDistance, startupAperture);
    camera.updateProjection();
}

void configureLights(AmbientLight& ambientLight, DirectionalLight& directionalLight)
{
    ambientLight.setEnvironmentTexture(textureNames[textureEntry::environment]);
    ambientLight.setColor(glm::vec3(startupAmbientLevel));
    directionalLight.setDirection(glm::vec3(0.0f, -1.0f, 0.0f));
    directionalLight.setColor(glm::vec3(2.0f, 1.0f, 0.75f));
}

void configureGroundPlaneCameraAndLights(Show& show, uint32_t screenWidth, uint32_t screenHeight)
{
    show.groundPlane->setTextures(textureNames[textureEntry::groundColor], textureNames[textureEntry::groundNormalMap]);
    show.groundPlane->setTs(-0.125f);
    configureCamera(show.camera, screenWidth, screenHeight);
    configureLights(show.ambientLight, show.directionalLight);
}
