// Depth buffer to view space. The camera's clip planes are fixed at start-up (world units);
// every stage that rebuilds a position from depthStencil must undo the same projection.
const float kNear = 0.1;
const float kFar = 100.0;

// The view-space z (negative, in front of the camera) of a depth-buffer value in [0, 1].
float viewDepth(float depth)
{
    return -2.0 * kFar * kNear / ((kFar + kNear) - (depth * 2.0 - 1.0) * (kFar - kNear));
}
