#pragma once

// The five scenes, each a function of its own time in seconds (see app/timeline.h for which
// time each one gets). A scene places the camera and draws one whole frame.
void sceneTunnelIntro(double t);
void sceneParticles(double t);
void sceneCredits(double t);
void sceneTunnelFireworks(double t);
void sceneCarousel(double t);
