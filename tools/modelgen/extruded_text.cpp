#include "extruded_text.h"

#include <stb/stb_truetype.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

namespace {

using Vec2 = std::array<float, 2>;
using Contour = std::vector<Vec2>;

// Segments per quadratic curve of the outline: smooth at the letter sizes of the credits.
constexpr int curveSegments = 8;

// Sides meeting at more than this angle (degrees) get a hard edge.
constexpr float hardEdgeDegrees = 35.0f;

// An outline point nearer than this share of the letter height to the line through its
// neighbours is dropped. Such points (a straight side split in two, a nearly straight curve)
// make triangles a few thousandths of a unit thin; once positions are quantised to 1/65535 of
// the credits' 40-unit extent their normals point anywhere, and as the loader sums unit
// normals they spoil the smoothed normals of the flat faces: blotches and seams on the fronts.
constexpr float straightTolerance = 0.002f;

// The front edges' chamfer: the front face is inset by bevelWidth (share of the letter height)
// and the outline set back by as much, but by no more than bevelDepthLimit of the extrusion.
// Small enough that no inset contour of the credits' letters crosses itself or another (the
// tessellation of the inset face would then need a combine vertex, and fails).
constexpr float bevelWidth = 0.03f;
constexpr float bevelDepthLimit = 0.45f;
// At a sharp corner the inset point moves at most this many bevel widths along the corner's
// bisector (reached at a turn of 120 degrees), so a spike's inset stays near the spike.
constexpr float miterLimit = 2.0f;

// The glyph's outline in font units, each curve cut into curveSegments straight pieces.
std::vector<Contour> flattenedGlyph(const stbtt_fontinfo& font, int glyph)
{
    stbtt_vertex* vertices = nullptr;
    int count = stbtt_GetGlyphShape(&font, glyph, &vertices);
    std::vector<Contour> contours;
    float lastX = 0, lastY = 0;
    for (int i = 0; i < count; ++i) {
        const stbtt_vertex& v = vertices[i];
        float x = float(v.x), y = float(v.y);
        if (v.type == STBTT_vmove)
            contours.emplace_back();
        for (int s = 1; s < curveSegments && v.type != STBTT_vmove && v.type != STBTT_vline; ++s) {
            float t = float(s) / float(curveSegments), r = 1.0f - t;
            if (v.type == STBTT_vcurve) {
                contours.back().push_back({r * r * lastX + 2 * r * t * float(v.cx) + t * t * x,
                                           r * r * lastY + 2 * r * t * float(v.cy) + t * t * y});
            } else {
                float a = r * r * r, b = 3 * r * r * t, c = 3 * r * t * t, d = t * t * t;
                contours.back().push_back({a * lastX + b * float(v.cx) + c * float(v.cx1) + d * x,
                                           a * lastY + b * float(v.cy) + c * float(v.cy1) + d * y});
            }
        }
        contours.back().push_back({x, y});
        lastX = x;
        lastY = y;
    }
    stbtt_FreeShape(&font, vertices);
    return contours;
}

// The contour with each point that repeats the one before it (or, the last, the first) left
// out: GLU would need a combine vertex to merge them.
Contour withoutRepeats(const Contour& contour)
{
    Contour kept;
    for (const Vec2& p : contour)
        if (kept.empty() || p != kept.back())
            kept.push_back(p);
    while (kept.size() > 1 && kept.front() == kept.back())
        kept.pop_back();
    return kept;
}

float distanceFromLine(Vec2 p, Vec2 a, Vec2 b)
{
    float dx = b[0] - a[0], dy = b[1] - a[1], length = std::hypot(dx, dy);
    if (length == 0.0f)
        return std::hypot(p[0] - a[0], p[1] - a[1]);
    return std::fabs(dx * (p[1] - a[1]) - dy * (p[0] - a[0])) / length;
}

// The contour without repeated points (its closing point repeats its first) and without the
// points of straight or nearly straight runs: every dropped point lies within `tolerance` of
// the side that replaces it.
Contour withoutStraightRuns(const Contour& contour, float tolerance)
{
    Contour points = withoutRepeats(contour), kept;
    size_t lastKept = 0, n = points.size();
    for (size_t i = 0; i < n; ++i) {
        bool straight = i > 0;
        for (size_t d = lastKept + 1; d <= i && straight; ++d)
            straight = distanceFromLine(points[d], points[lastKept], points[(i + 1) % n]) < tolerance;
        if (!straight) {
            kept.push_back(points[i]);
            lastKept = i;
        }
    }
    return kept;
}

// The unit normal to the right of the way from a to b: the filled side, as TrueType fills to
// the right of an outline's direction.
Vec2 rightNormal(Vec2 a, Vec2 b)
{
    float dx = b[0] - a[0], dy = b[1] - a[1], length = std::hypot(dx, dy);
    return {dy / length, -dx / length};
}

// The contour moved `width` into the filled side: each point along its corner's bisector, as
// far as keeps both sides `width` from the original (the miter), within miterLimit. Holes run
// the opposite way to outlines, so the same rule widens them.
Contour mitredInset(const Contour& contour, float width)
{
    size_t n = contour.size();
    Contour inset(n);
    for (size_t i = 0; i < n; ++i) {
        Vec2 in = rightNormal(contour[(i + n - 1) % n], contour[i]);
        Vec2 out = rightNormal(contour[i], contour[(i + 1) % n]);
        float bx = in[0] + out[0], by = in[1] + out[1], length = std::hypot(bx, by);
        // |in + out| is twice the cosine of half the turn, the miter's shortening.
        float reach = width / std::max(0.5f * length, 1.0f / miterLimit);
        if (length < 1e-6f)
            bx = in[0], by = in[1], length = 1.0f;
        inset[i] = {contour[i][0] + bx / length * reach, contour[i][1] + by / length * reach};
    }
    return inset;
}

// The inset contour, one point per point of `contour`. A side that the offset turned back on
// itself (a short side next to a sharp corner, as at the tips of the 'c' and the 'a') shrinks
// to a point: both ends move to its middle, near where the neighbouring sides' offsets meet.
// Such points repeat; the vertex ring welds them, and the inset face takes each once.
Contour insetContour(const Contour& contour, float width)
{
    Contour inset = mitredInset(contour, width);
    size_t n = contour.size();
    for (int pass = 0; pass < 4; ++pass)
        for (size_t i = 0; i < n; ++i) {
            size_t j = (i + 1) % n;
            float ox = contour[j][0] - contour[i][0], oy = contour[j][1] - contour[i][1];
            float ix = inset[j][0] - inset[i][0], iy = inset[j][1] - inset[i][1];
            if (ox * ix + oy * iy < 0.0f)
                inset[i] = inset[j] = {0.5f * (inset[i][0] + inset[j][0]), 0.5f * (inset[i][1] + inset[j][1])};
        }
    return inset;
}

// Collects GLU's triangles as index triples into the contour points.
struct Tessellation {
    std::vector<uint16_t> corners;
    bool failed = false;
};

void GLAPIENTRY onVertex(void* vertex, void* data)
{
    static_cast<Tessellation*>(data)->corners.push_back(uint16_t(reinterpret_cast<uintptr_t>(vertex)));
}

void GLAPIENTRY onEdgeFlag(GLboolean, void*)
{
    // Present only so that GLU emits separate triangles rather than fans and strips.
}

void GLAPIENTRY onCombine(GLdouble[3], void* [4], GLfloat[4], void** out, void* data)
{
    // Outlines of a well-formed font do not cross; a crossing would need a vertex that the side
    // walls do not have, so the glyph is refused instead.
    static_cast<Tessellation*>(data)->failed = true;
    *out = nullptr;
}

void GLAPIENTRY onError(GLenum, void* data)
{
    static_cast<Tessellation*>(data)->failed = true;
}

// Triangles covering the filled area of the contours (non-zero winding), as indices into
// `points`, the contours' points one after the other.
bool tessellate(const std::vector<Contour>& contours, std::vector<uint16_t>& corners)
{
    GLUtesselator* tess = gluNewTess();
    Tessellation result;
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(onVertex));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(onEdgeFlag));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(onCombine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(onError));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, 1);
    std::vector<std::array<GLdouble, 3>> coordinates;
    for (const Contour& contour : contours)
        for (const auto& p : contour)
            coordinates.push_back({p[0], p[1], 0.0});
    gluTessBeginPolygon(tess, &result);
    size_t index = 0;
    for (const Contour& contour : contours) {
        gluTessBeginContour(tess);
        for (size_t i = 0; i < contour.size(); ++i, ++index)
            gluTessVertex(tess, coordinates[index].data(), reinterpret_cast<void*>(uintptr_t(index)));
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    corners = result.corners;
    return !result.failed && corners.size() % 3 == 0;
}

// Puts every triangle of `corners` counter-clockwise seen from +z: GLU's winding follows the
// contours'.
void orientCounterClockwise(const std::vector<Vec2>& points, std::vector<uint16_t>& corners)
{
    for (size_t c = 0; c + 2 < corners.size(); c += 3) {
        const Vec2 &p = points[corners[c]], &q = points[corners[c + 1]], &r = points[corners[c + 2]];
        if ((q[0] - p[0]) * (r[1] - p[1]) - (q[1] - p[1]) * (r[0] - p[0]) < 0.0f)
            std::swap(corners[c + 1], corners[c + 2]);
    }
}

// True when d lies inside the circle through the counter-clockwise a, b, c.
bool insideCircumcircle(Vec2 a, Vec2 b, Vec2 c, Vec2 d)
{
    double ax = a[0] - d[0], ay = a[1] - d[1], bx = b[0] - d[0], by = b[1] - d[1];
    double cx = c[0] - d[0], cy = c[1] - d[1];
    double det = (ax * ax + ay * ay) * (bx * cy - cx * by) - (bx * bx + by * by) * (ax * cy - cx * ay) +
                 (cx * cx + cy * cy) * (ax * by - bx * ay);
    double size = ax * ax + ay * ay + bx * bx + by * by + cx * cx + cy * cy;
    return det > 1e-9 * size * size;
}

// Flips the inner edges of a counter-clockwise triangulation until none fails the Delaunay
// test (Lawson's flips). GLU fans out from one point across whole runs of an outline, leaving
// slivers; the flipped triangulation has the largest smallest angle the outline allows.
void flipToDelaunay(const std::vector<Vec2>& points, std::vector<uint16_t>& corners)
{
    for (int pass = 0; pass < 100; ++pass) {
        std::map<std::pair<uint16_t, uint16_t>, size_t> edgeCorner;  // directed edge -> its first corner
        for (size_t c = 0; c < corners.size(); ++c)
            edgeCorner[{corners[c], corners[c - c % 3 + (c + 1) % 3]}] = c;
        std::vector<bool> changed(corners.size() / 3, false);
        int flips = 0;
        for (size_t c = 0; c < corners.size(); ++c) {
            size_t t = c / 3, c1 = t * 3 + (c + 1) % 3, c2 = t * 3 + (c + 2) % 3;
            auto twin = edgeCorner.find({corners[c1], corners[c]});
            if (twin == edgeCorner.end() || changed[t] || changed[twin->second / 3])
                continue;
            size_t u = twin->second / 3, d = u * 3 + (twin->second + 2) % 3;
            uint16_t a = corners[c], b = corners[c1], apex = corners[c2], other = corners[d];
            if (!insideCircumcircle(points[a], points[b], points[apex], points[other]))
                continue;
            corners[t * 3] = a, corners[t * 3 + 1] = other, corners[t * 3 + 2] = apex;
            corners[u * 3] = other, corners[u * 3 + 1] = b, corners[u * 3 + 2] = apex;
            changed[t] = changed[u] = true;
            ++flips;
        }
        if (flips == 0)
            return;
    }
}

// The filled area of `contours` in triangles as indices into their points, one contour after
// the other, counter-clockwise seen from +z and without avoidable slivers.
bool triangulate(const std::vector<Contour>& contours, std::vector<uint16_t>& corners)
{
    if (!tessellate(contours, corners))
        return false;
    std::vector<Vec2> points;
    for (const Contour& contour : contours)
        points.insert(points.end(), contour.begin(), contour.end());
    orientCounterClockwise(points, corners);
    flipToDelaunay(points, corners);
    return true;
}

float turnDegrees(Vec2 a, Vec2 b, Vec2 c)
{
    float ux = b[0] - a[0], uy = b[1] - a[1], vx = c[0] - b[0], vy = c[1] - b[1];
    float angle = std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    return std::fabs(angle) * 180.0f / 3.14159265f;
}

// A vertex index for each point of the contours, one contour after the other, at height z.
std::vector<uint16_t> ringAt(MeshBuilder& builder, const std::vector<Contour>& contours, float z)
{
    std::vector<uint16_t> ring;
    for (const Contour& contour : contours)
        for (const Vec2& p : contour)
            ring.push_back(builder.vertex({p[0], p[1], z}));
    return ring;
}

// A flat face in a group of its own: the counter-clockwise `corners` into `ring`, facing +z
// or, turned over, -z.
void addFace(MeshBuilder& builder, const std::vector<uint16_t>& corners, const std::vector<uint16_t>& ring,
             bool facingFront)
{
    builder.beginGroup();
    for (size_t c = 0; c + 2 < corners.size(); c += 3) {
        uint16_t a = ring[corners[c]], b = ring[corners[c + 1]], d = ring[corners[c + 2]];
        if (facingFront)
            builder.triangle(a, b, d);
        else
            builder.triangle(a, d, b);
    }
}

// The band of quads from the `upper` ring (nearer the front) to the `lower`, both following
// `contours`; a new smoothing group starts at each sharp corner of the outline. Outwards is
// to the left of the outline's direction, so upper(a), upper(b), lower(b), lower(a) faces out.
void addBand(MeshBuilder& builder, const std::vector<Contour>& contours, const std::vector<uint16_t>& upper,
             const std::vector<uint16_t>& lower)
{
    size_t start = 0;
    for (const Contour& contour : contours) {
        size_t n = contour.size();
        auto sharp = [&](size_t m) {
            return turnDegrees(contour[(m + n - 1) % n], contour[m], contour[(m + 1) % n]) > hardEdgeDegrees;
        };
        // Start at a sharp corner if there is one, so a run never straddles the first point.
        size_t first = 0;
        while (first < n && !sharp(first))
            ++first;
        first %= n;
        for (size_t step = 0; step < n; ++step) {
            size_t a = start + (first + step) % n, b = start + (first + step + 1) % n;
            if (step == 0 || sharp(a - start))
                builder.beginGroup();
            builder.quad(upper[a], upper[b], lower[b], lower[a]);
        }
        start += n;
    }
}

// One glyph's solid as a part of its own (its vertices weld only with its own): the inset
// front face, the bevel band out to the outline set back by `bevel`, the side walls, and the
// back face. False when a face cannot be triangulated.
bool addGlyphSolid(MeshBuilder& builder, const std::vector<Contour>& outline, float bevel, float bevelBack, float front,
                   float back)
{
    std::vector<Contour> inset, insetFace;
    for (const Contour& contour : outline) {
        inset.push_back(insetContour(contour, bevel));
        insetFace.push_back(withoutRepeats(inset.back()));
    }
    std::vector<uint16_t> frontCorners, backCorners;
    if (!triangulate(insetFace, frontCorners) || !triangulate(outline, backCorners))
        return false;
    builder.beginPart();
    // Welding gives the face's points the same vertices as their copies in the full ring.
    std::vector<uint16_t> frontRing = ringAt(builder, inset, front);
    std::vector<uint16_t> frontFaceRing = ringAt(builder, insetFace, front);
    std::vector<uint16_t> setBackRing = ringAt(builder, outline, front - bevelBack);
    std::vector<uint16_t> backRing = ringAt(builder, outline, back);
    addFace(builder, frontCorners, frontFaceRing, true);
    addFace(builder, backCorners, backRing, false);
    addBand(builder, outline, frontRing, setBackRing);
    addBand(builder, outline, setBackRing, backRing);
    return true;
}

// Where each character of a line goes: the font's scale to model units, the squeeze along x
// that fits the line into the layout's width, and each pen position.
struct LineLayout {
    float scale = 0.0f, squeeze = 1.0f;
    std::vector<int> glyphs;
    std::vector<float> pens;
};

bool layOutLine(const stbtt_fontinfo& font, const std::string& text, const TextLayout& layout, LineLayout& line,
                std::string& error)
{
    // Scale so that the tallest letter of the text is letterHeight high.
    int tallest = 0;
    std::vector<float> advances;  // font units, kerning included
    for (size_t i = 0; i < text.size(); ++i) {
        int glyph = stbtt_FindGlyphIndex(&font, text[i]);
        if (glyph == 0 && text[i] != ' ') {
            error = std::string("the font has no glyph for '") + text[i] + "'";
            return false;
        }
        int x0, y0, x1, y1, width, bearing;
        if (stbtt_GetGlyphBox(&font, glyph, &x0, &y0, &x1, &y1))
            tallest = std::max(tallest, y1);
        stbtt_GetGlyphHMetrics(&font, glyph, &width, &bearing);
        float kern = i + 1 < text.size()
                         ? float(stbtt_GetGlyphKernAdvance(&font, glyph, stbtt_FindGlyphIndex(&font, text[i + 1])))
                         : 0.0f;
        line.glyphs.push_back(glyph);
        advances.push_back(float(width) + kern);
    }
    line.scale = layout.letterHeight / float(tallest);
    float total = 0.0f;
    for (float advance : advances)
        total += advance * line.scale;
    float gaps = layout.spacing * float(text.size() - 1);
    line.squeeze = std::min(1.0f, layout.width / (total + gaps));
    float pen = -0.5f * (total + gaps) * line.squeeze;
    for (float advance : advances) {
        line.pens.push_back(pen);
        pen += (advance * line.scale + layout.spacing) * line.squeeze;
    }
    return true;
}

}  // namespace

bool makeExtrudedText(const std::string& fontPath, const std::string& text, const TextLayout& layout,
                      ModelSource& model, std::string& error)
{
    std::ifstream file(fontPath, std::ios::binary);
    std::vector<unsigned char> fontBytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    stbtt_fontinfo font;
    if (fontBytes.empty() ||
        !stbtt_InitFont(&font, fontBytes.data(), stbtt_GetFontOffsetForIndex(fontBytes.data(), 0))) {
        error = "cannot read the font " + fontPath;
        return false;
    }
    LineLayout line;
    if (!layOutLine(font, text, layout, line, error))
        return false;

    const float bevel = bevelWidth * layout.letterHeight;
    const float bevelBack = std::min(bevel, bevelDepthLimit * layout.depth);
    MeshBuilder builder;
    for (size_t i = 0; i < text.size(); ++i) {
        std::vector<Contour> outline;
        for (Contour& contour : flattenedGlyph(font, line.glyphs[i])) {
            for (Vec2& p : contour)
                p = {line.pens[i] + p[0] * line.scale * line.squeeze, p[1] * line.scale};
            outline.push_back(withoutStraightRuns(contour, straightTolerance * layout.letterHeight));
        }
        if (outline.empty())
            continue;
        if (!addGlyphSolid(builder, outline, bevel, bevelBack, 0.5f * layout.depth, -0.5f * layout.depth)) {
            error = std::string("cannot triangulate the outline of '") + text[i] + "'";
            return false;
        }
    }
    model = builder.result();
    return true;
}
