#pragma once
// The five scenes. Each draws one whole frame of the show through the renderer's fixed pass
// order (see scene_frame.h) from its own time in seconds: the timeline (show/timeline.h) says
// which time each one gets. Beside each scene's drawing lies its camera arithmetic, as a plain function
// that sets the camera without touching OpenGL, so it can be checked on its own.
#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>

class Camera;
struct Show;

// 0 <= t < 25, the absolute demo time. The camera circles the origin at radius 2.5 and height
// 2.5, one radian a second, focus swinging between 3 and 7; the picture comes up from black
// with the exposure tint 0.15 t^2.
void placeTunnelIntroCamera(Camera& camera, double t);
void sceneTunnelIntro(Show& show, double t);
// The intro's focus distance at time t, with its aperture: the fireworks follow the same.
float tunnelIntroFocusDistance(double t);
constexpr float tunnelIntroAperture = 0.05f;
// The intro's eye on its orbit at time t, looking at the origin; the fireworks fly it again.
glm::vec3 tunnelOrbitEye(double t);

// 0 <= u < 10, demo time - 25. The camera circles at radius 15 and height 5, half a radian a
// second, and keeps the focus the intro's last frame left; the tint 1 + 100 / u falls from a
// flash to a dim picture. A frame closer to u = 0 than a millisecond is exposed as at one
// millisecond, so the very first frame stays finite.
void placeParticlesCamera(Camera& camera, double u);
void sceneParticles(Show& show, double u);

// 0 <= u < 30, demo time - 35. The eye travels along +x from (-30, 2, 2) at 2 units a second,
// looking at (15, 1.5, 0) past the credits model; from u = 21 the tint (u - 20)^2 burns the
// picture out to white.
void placeCreditsCamera(Camera& camera, double u);
// The credits model stands one unit up.
glm::mat4 creditsModelTransform();
void sceneCredits(Show& show, double u);

// 65 <= t < 80, the absolute demo time: the intro's camera path and focus at a constant tint 1,
// with two firework layers inside the tunnel.
void placeTunnelFireworksCamera(Camera& camera, double t);
void sceneTunnelFireworks(Show& show, double t);

// u >= 0, demo time - 80. The camera stands at the origin looking down -z at a model a quarter
// unit away, focused on it, with the green-cast tint (8, 16, 6).
void placeCarouselCamera(Camera& camera, double u);
// The ambient light's colour from the carousel's first frame on, kept to the end.
glm::vec3 carouselAmbientColor();
// Index into the model array (3 to 11, "3d/g_0.3d" to "3d/g_8.3d"): the next model every four
// seconds, cycling after the ninth. Once the ninth has turned, the show is over (timeline.h).
constexpr int carouselSculptureCount = 9;
constexpr int carouselSecondsPerSculpture = 4;
int carouselModelIndex(double u);
// Rotated about +y by 90 u + 90 degrees, scaled by (0.0125, 0.05, 0.0125) and moved 0.25 in
// front of the camera: each model starts a quarter turned and makes one full turn.
glm::mat4 carouselModelTransform(double u);
void sceneCarousel(Show& show, double u);
