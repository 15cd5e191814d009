#version 330 core
// Placed models and particles. For a model, A0 is the model-space position and A2 the smoothed
// normal (a sum of unit normals), "m" model-view-projection and "nm" model-view; the normal goes
// to view space. For a particle the draw is the shared screen triangle (clip-space x, y at A0,
// nothing at A2) and "m" is the camera's view-projection: the triangle covers the viewport, and
// the fragment stage gets what it needs to cast its pixel's ray into the world: rayPoint, the
// homogeneous world point of the pixel at normalised depth 0, and rayAxis, the homogeneous
// change per unit of normalised depth (its xyz / w is the camera position).
// Every program with this stage computes gl_Position the same way (the forward pass meets the
// geometry pass's surface with depth test EQUAL).
in vec3 A0;
in vec3 A2;
uniform mat4 m;
uniform mat4 nm;
invariant gl_Position;
out vec3 normalV;
out vec4 rayPoint;
flat out vec4 rayAxis;

// The screen triangle's corners lie at 200 or 300 from the centre in the plane z = 0 and its
// draw has no normal; a model vertex there with a zero normal does not occur.
bool isScreenTriangle()
{
    return A2 == vec3(0.0) && A0.z == 0.0 && abs(A0.x) >= 199.0 && abs(A0.y) >= 199.0;
}

void main()
{
    if (isScreenTriangle()) {
        gl_Position = vec4(A0.xy, 0.0, 1.0);
        mat4 clipToWorld = inverse(m);
        rayPoint = clipToWorld * vec4(A0.xy, 0.0, 1.0);
        rayAxis = clipToWorld * vec4(0.0, 0.0, 1.0, 0.0);
        normalV = vec3(0.0, 0.0, 1.0);
    } else {
        gl_Position = m * vec4(A0, 1.0);
        mat3 toView = mat3(nm);
        // Cofactor matrix: transforms normals correctly under the models' non-uniform scale.
        mat3 normalToView = mat3(cross(toView[1], toView[2]), cross(toView[2], toView[0]),
                                 cross(toView[0], toView[1]));
        normalV = normalToView * A2;
        rayPoint = vec4(0.0);
        rayAxis = vec4(0.0);
    }
}
