#include "render/lights.h"

#include "core/texture_units.h"
#include "render/camera.h"
#include "render/programs.h"
#include "render/screen_triangle.h"

#include <glm/geometric.hpp>
#include <glm/mat3x3.hpp>

AmbientLight ambientLight;
DirectionalLight directionalLight;

namespace {

// Enums of EXT_texture_filter_anisotropic.
constexpr GLenum textureMaxAnisotropy = 0x84FE;
constexpr GLenum maxTextureMaxAnisotropy = 0x84FF;

// The environment is read at chosen mip levels, where anisotropic filtering has nothing to
// add, yet a software rasterizer takes its slow anisotropic path for every fetch from such a
// texture (the ambient light then costs ten times as much). So the 2-D texture on a unit is
// read without anisotropy for the length of one draw, and given its own back after it.
class IsotropicWhileDrawing {
public:
    explicit IsotropicWhileDrawing(int unit) : unit_(unit)
    {
        glGetFloatv(maxTextureMaxAnisotropy, &driverMaximum_);
        if (driverMaximum_ <= 1.0f)
            return;
        GLint anisotropy = 1;
        onUnit([&] { glGetTexParameteriv(GL_TEXTURE_2D, textureMaxAnisotropy, &anisotropy); });
        // The textures have either none or the driver's largest.
        lowered_ = anisotropy > 1;
        if (lowered_)
            onUnit([] { glTexParameterf(GL_TEXTURE_2D, textureMaxAnisotropy, 1.0f); });
    }
    ~IsotropicWhileDrawing()
    {
        if (lowered_)
            onUnit([this] { glTexParameterf(GL_TEXTURE_2D, textureMaxAnisotropy, driverMaximum_); });
    }
    IsotropicWhileDrawing(const IsotropicWhileDrawing&) = delete;
    IsotropicWhileDrawing& operator=(const IsotropicWhileDrawing&) = delete;

private:
    // Runs `call` with unit_ active, and leaves the active unit as it was.
    template <typename Call> void onUnit(Call call) const
    {
        GLint active = GL_TEXTURE0;
        glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
        selectTextureUnit(unit_);
        call();
        glActiveTexture(GLenum(active));
    }

    int unit_;
    float driverMaximum_ = 1.0f;  // stays 1 on a driver without the extension
    bool lowered_ = false;
};

}  // namespace

void AmbientLight::apply(const Camera& camera)
{
    const glm::vec3 exposure = camera.exposure();
    const auto& environment = program::flatEnvironment;
    environment.use();
    environment.N.set(textureUnit::gbuffer);
    // The scene binds the environment on the unit first; without that the draw samples
    // whatever 2-D texture the unit holds.
    environment.E.set(textureUnit::sceneTexture);
    environment.a.set(color_ * exposure);
    environment.s.set(exposure);
    environment.b.set(0.0f, 0.0f, 0.0f);
    const IsotropicWhileDrawing isotropic(textureUnit::sceneTexture);
    drawScreenTriangle();
}

void DirectionalLight::apply(const Camera& camera)
{
    // The shader wants the unit vector from the surface towards the light, in view space.
    const glm::vec3 towardsLight = glm::normalize(-(glm::mat3(camera.view()) * direction_));
    const auto& directional = program::lightDirectional;
    directional.use();
    directional.N.set(textureUnit::gbuffer);
    directional.dir.set(towardsLight);
    directional.col.set(color_ * camera.exposure());
    directional.hfov.set(camera.hfov());
    drawScreenTriangle();
}
