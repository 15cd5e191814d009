// The signed circle of confusion every forward material writes into sceneColor's alpha, in
// full-size pixels, negative in front of the focus; the depth of field reads it from there.
// From the camera's "c" = (c.x, c.y), set per frame by the lens: coc = c.x / z + c.y at view
// distance z. All materials share one lens, so one source.
uniform vec2 c;

const float kMaxCoc = 4000.0;
// Behind the focus a thin lens's circle grows towards the aperture's whole width, so at this
// camera's wide apertures everything far (the credits' name, the flash's plain, the carousel's
// backdrop) would dissolve into one veil. This lens keeps a third of it there: the depth still
// reads and the subject stays legible. In front of the focus the circle is the camera's.
const float kFarBlurShare = 0.3;

float circleOfConfusion(float z)
{
    float coc = c.x / z + c.y;
    return clamp(coc > 0.0 ? coc * kFarBlurShare : coc, -kMaxCoc, kMaxCoc);
}
