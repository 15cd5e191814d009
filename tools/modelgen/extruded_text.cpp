#include "extruded_text.h"

#include <stb/stb_truetype.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using Contour = std::vector<std::array<float, 2>>;

// Segments per quadratic curve of the outline: smooth at the letter sizes of the credits.
constexpr int curveSegments = 8;

// Sides meeting at more than this angle (degrees) get a hard edge.
constexpr float hardEdgeDegrees = 35.0f;

std::vector<Contour> glyphContours(const stbtt_fontinfo& font, int glyph, float scale, float penX)
{
    stbtt_vertex* vertices = nullptr;
    int count = stbtt_GetGlyphShape(&font, glyph, &vertices);
    std::vector<Contour> contours;
    float lastX = 0, lastY = 0;
    for (int i = 0; i < count; ++i) {
        const stbtt_vertex& v = vertices[i];
        float x = float(v.x), y = float(v.y);
        if (v.type == STBTT_vmove) {
            contours.emplace_back();
        } else if (v.type == STBTT_vcurve) {
            for (int s = 1; s < curveSegments; ++s) {
                float t = float(s) / float(curveSegments), r = 1.0f - t;
                float cx = r * r * lastX + 2 * r * t * float(v.cx) + t * t * x;
                float cy = r * r * lastY + 2 * r * t * float(v.cy) + t * t * y;
                contours.back().push_back({penX + cx * scale, cy * scale});
            }
        } else if (v.type == STBTT_vcubic) {
            for (int s = 1; s < curveSegments; ++s) {
                float t = float(s) / float(curveSegments), r = 1.0f - t;
                float cx =
                    r * r * r * lastX + 3 * r * r * t * float(v.cx) + 3 * r * t * t * float(v.cx1) + t * t * t * x;
                float cy =
                    r * r * r * lastY + 3 * r * r * t * float(v.cy) + 3 * r * t * t * float(v.cy1) + t * t * t * y;
                contours.back().push_back({penX + cx * scale, cy * scale});
            }
        }
        contours.back().push_back({penX + x * scale, y * scale});
        lastX = x;
        lastY = y;
    }
    stbtt_FreeShape(&font, vertices);
    // Drop repeated points (a contour's closing point repeats its first).
    for (Contour& contour : contours) {
        Contour clean;
        for (const auto& p : contour)
            if (clean.empty() || p != clean.back())
                clean.push_back(p);
        while (clean.size() > 1 && clean.front() == clean.back())
            clean.pop_back();
        contour = clean;
    }
    return contours;
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

float turnDegrees(std::array<float, 2> a, std::array<float, 2> b, std::array<float, 2> c)
{
    float ux = b[0] - a[0], uy = b[1] - a[1], vx = c[0] - b[0], vy = c[1] - b[1];
    float angle = std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
    return std::fabs(angle) * 180.0f / 3.14159265f;
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

    // Scale so that the tallest letter of the text is letterHeight high.
    int tallest = 0;
    float advance = 0.0f;
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
        advance += float(width);
        if (i + 1 < text.size())
            advance += float(stbtt_GetGlyphKernAdvance(&font, glyph, stbtt_FindGlyphIndex(&font, text[i + 1])));
    }
    float scale = layout.letterHeight / float(tallest);
    float gaps = layout.spacing * float(text.size() - 1);
    float squeeze = std::min(1.0f, layout.width / (advance * scale + gaps));

    MeshBuilder builder;
    float front = layout.depth * 0.5f, back = -layout.depth * 0.5f;
    float pen = -0.5f * (advance * scale + gaps) * squeeze;
    builder.beginGroup();  // the front faces
    std::vector<std::vector<ModelSourceTriangle>> sideGroups, backFaces(1);
    for (size_t i = 0; i < text.size(); ++i) {
        int glyph = stbtt_FindGlyphIndex(&font, text[i]);
        int width, bearing;
        stbtt_GetGlyphHMetrics(&font, glyph, &width, &bearing);
        std::vector<Contour> contours = glyphContours(font, glyph, scale, 0.0f);
        for (Contour& contour : contours)
            for (auto& p : contour)
                p[0] = pen + p[0] * squeeze;
        pen += float(width) * scale * squeeze;
        if (i + 1 < text.size())
            pen += (float(stbtt_GetGlyphKernAdvance(&font, glyph, stbtt_FindGlyphIndex(&font, text[i + 1]))) * scale +
                    layout.spacing) *
                   squeeze;
        if (contours.empty())
            continue;

        // Each glyph is its own part: its vertices weld only with its own.
        builder.beginPart();
        std::vector<uint16_t> frontIndex, backIndex;
        std::vector<std::array<float, 2>> points;
        for (const Contour& contour : contours)
            for (const auto& p : contour) {
                frontIndex.push_back(builder.vertex({p[0], p[1], front}));
                backIndex.push_back(builder.vertex({p[0], p[1], back}));
                points.push_back(p);
            }
        std::vector<uint16_t> corners;
        if (!tessellate(contours, corners)) {
            error = std::string("cannot triangulate the outline of '") + text[i] + "'";
            return false;
        }
        for (size_t c = 0; c + 2 < corners.size(); c += 3) {
            size_t k[3] = {corners[c], corners[c + 1], corners[c + 2]};
            const std::array<float, 2> p[3] = {points[k[0]], points[k[1]], points[k[2]]};
            // GLU's winding follows the contours; the front must face +z whatever it is.
            float area = (p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) - (p[1][1] - p[0][1]) * (p[2][0] - p[0][0]);
            if (area < 0.0f)
                std::swap(k[1], k[2]);
            builder.triangle(frontIndex[k[0]], frontIndex[k[1]], frontIndex[k[2]]);
            backFaces[0].push_back(ModelSourceTriangle{{backIndex[k[0]], backIndex[k[2]], backIndex[k[1]]}});
        }

        // Side walls. TrueType fills to the right of the outline's direction, so the outward
        // side is to the left: the quad front(a), front(b), back(b), back(a) faces out.
        size_t start = 0;
        for (const Contour& contour : contours) {
            size_t n = contour.size();
            // Start each contour's runs at a sharp corner if it has one, so a run never
            // straddles the contour's first point.
            size_t first = 0;
            for (size_t m = 0; m < n; ++m)
                if (turnDegrees(contour[(m + n - 1) % n], contour[m], contour[(m + 1) % n]) > hardEdgeDegrees) {
                    first = m;
                    break;
                }
            for (size_t step = 0; step < n; ++step) {
                size_t a = (first + step) % n, b = (a + 1) % n;
                bool sharp = turnDegrees(contour[(a + n - 1) % n], contour[a], contour[b]) > hardEdgeDegrees;
                if (step == 0 || sharp)
                    sideGroups.emplace_back();
                uint16_t fa = frontIndex[start + a], fb = frontIndex[start + b];
                uint16_t ba = backIndex[start + a], bb = backIndex[start + b];
                sideGroups.back().push_back(ModelSourceTriangle{{fa, fb, bb}});
                sideGroups.back().push_back(ModelSourceTriangle{{fa, bb, ba}});
            }
            start += n;
        }
    }
    model = builder.result();
    model.groups.insert(model.groups.end(), backFaces.begin(), backFaces.end());
    model.groups.insert(model.groups.end(), sideGroups.begin(), sideGroups.end());
    return true;
}
