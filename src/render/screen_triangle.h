#pragma once
// The shared screen triangle: one triangle whose clip-space corners (-200, 300), (-200, -200)
// and (300, -200) contain the square (-1, -1)..(1, 1) with a wide margin, so after clipping it
// covers any viewport exactly once. Every full-screen pass draws it. Two floats per vertex at
// attribute location 0; no other attribute.

// Creates the buffer and vertex array once at start-up; leaves the vertex array bound.
void createScreenTriangle();

// Binds the triangle's vertex array and draws its three vertices. Sets no program, uniform or
// texture: the caller has done that. Leaves the vertex array bound.
void drawScreenTriangle();
