#version 330 core
// Background fill: the shared screen triangle (A0) placed exactly on the far plane (window depth
// 1.0), so that the forward pass's EQUAL depth test lets it reach only the pixels that no
// surface covered (their depth is still the cleared 1.0). screenY is the height on the screen,
// -1 at the bottom to 1 at the top, for the sky's gradient.
in vec2 A0;
out float screenY;

void main()
{
    screenY = A0.y;
    gl_Position = vec4(A0, 1.0, 1.0);
}
