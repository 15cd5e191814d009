#pragma once
// Everything the scenes draw with, one of each, made by start-up (app/startup.h) and kept until
// the process ends: nothing here is ever released. A frame is drawn from the show and a demo
// time (show/timeline.h); what one scene hands on to the next is worked out from that time and
// the show's frame rate (show/handed_on_state.h), so no frame depends on the frames before it.
#include "assets/model_table.h"
#include "render/camera.h"
#include "render/lights.h"
#include "show/frame_rate.h"

class GroundPlane;
class ParticleField;
class PlacedModel;
class Renderer;
class TunnelMesh;

struct Show {
    Show() = default;
    // The placed model points into `models`: the show stays where start-up made it.
    Show(const Show&) = delete;
    Show& operator=(const Show&) = delete;

    Renderer* renderer = nullptr;  // at the screen size
    Camera camera;
    AmbientLight ambientLight;
    DirectionalLight directionalLight;
    Model models[modelCount];  // entry i of modelFiles in element i
    TunnelMesh* tunnelMesh = nullptr;
    GroundPlane* groundPlane = nullptr;
    PlacedModel* placedModel = nullptr;
    ParticleField* particleField = nullptr;

    // The rate the show is played at: the intro's last frame, whose focus the flash keeps,
    // is the last one before 25 s at this rate.
    FrameRate rate;
};
