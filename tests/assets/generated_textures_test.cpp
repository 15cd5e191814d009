// The textures the build generates into the runnable folder: the ground's two maps tile
// without a seam, agree with each other and have the colour of dry earth; the environment
// keeps its light inside the 8-bit range; and the generator writes the same bytes every time.
#include "assets/image_decode.h"

#include "core/load_whole_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Picture {
    int size = 0;
    int channels = 0;
    std::vector<uint8_t> pixels;

    float at(int x, int y, int channel) const
    {
        x = ((x % size) + size) % size;
        y = ((y % size) + size) % size;
        return float(pixels[(size_t(y) * size_t(size) + size_t(x)) * size_t(channels) + size_t(channel)]) / 255.0f;
    }
};

Picture loadPicture(const std::string& path)
{
    Picture picture;
    size_t length = 0;
    uint8_t* bytes = loadWholeFile(path.c_str(), &length);
    EXPECT_NE(bytes, nullptr) << path << " missing: is the content built?";
    if (!bytes)
        return picture;
    DecodedImage image;
    std::string error;
    EXPECT_TRUE(decodeImage(bytes, length, image, error)) << path << ": " << error;
    std::free(bytes);
    EXPECT_EQ(image.width, image.height) << path;
    picture.size = image.width;
    picture.channels = image.channels;
    picture.pixels.assign(image.pixels.get(),
                          image.pixels.get() + size_t(image.width) * size_t(image.height) * size_t(image.channels));
    return picture;
}

// How alike two stretches of lines are: the correlation of their values over all channels,
// each line first smoothed along itself over nine texels so that single-texel grain does not
// swamp the shapes (cracks, stones) that a seam would cut. 1 for lines that continue each
// other, near 0 for unrelated ones. `across` false compares columns a and b, true rows a and b,
// over texels [first, last) along them.
float stretchCorrelation(const Picture& p, int a, int b, bool across, int first, int last)
{
    double ab = 0.0, aa = 0.0, bb = 0.0;
    for (int c = 0; c < p.channels; ++c) {
        std::vector<float> one, other;
        for (int i = first; i < last; ++i) {
            float sa = 0.0f, sb = 0.0f;
            for (int k = -4; k <= 4; ++k) {
                sa += across ? p.at(i + k, a, c) : p.at(a, i + k, c);
                sb += across ? p.at(i + k, b, c) : p.at(b, i + k, c);
            }
            one.push_back(sa);
            other.push_back(sb);
        }
        // Each channel about its own mean, so that the channels' different levels do not
        // read as likeness.
        double meanA = 0.0, meanB = 0.0;
        for (size_t i = 0; i < one.size(); ++i) {
            meanA += one[i];
            meanB += other[i];
        }
        meanA /= double(one.size());
        meanB /= double(other.size());
        for (size_t i = 0; i < one.size(); ++i) {
            double da = one[i] - meanA, db = other[i] - meanB;
            ab += da * db;
            aa += da * da;
            bb += db * db;
        }
    }
    return float(ab / std::sqrt(aa * bb + 1e-20));
}

// How alike two whole lines are: the median of their likeness over sixteen stretches. A seam
// cuts the whole edge, so every stretch of it reads as unrelated. A crack or a stone that
// happens to lie along the edge spoils only a few stretches, and must not count as one: where
// the two lines straddle a crack's floor, its walls slope opposite ways in them and the normal
// map's values there correlate negatively, as they do wherever a crack runs along the texels.
float lineCorrelation(const Picture& p, int a, int b, bool across)
{
    const int stretches = 16;
    std::vector<float> likeness;
    for (int s = 0; s < stretches; ++s)
        likeness.push_back(stretchCorrelation(p, a, b, across, s * p.size / stretches, (s + 1) * p.size / stretches));
    std::sort(likeness.begin(), likeness.end());
    return 0.5f * (likeness[stretches / 2 - 1] + likeness[stretches / 2]);
}

struct SeamMeasure {
    float seam;        // last line against the first
    float neighbours;  // adjacent lines on either side of the seam, on average
    float unrelated;   // lines half the picture apart, on average
};

SeamMeasure measureSeam(const Picture& p, bool across)
{
    SeamMeasure m{lineCorrelation(p, p.size - 1, 0, across), 0.0f, 0.0f};
    // Neighbours are taken next to the seam, where the picture's detail is what the seam cuts.
    const int pairs[] = {p.size - 5, p.size - 4, p.size - 3, p.size - 2, 0, 1, 2, 3};
    for (int line : pairs) {
        m.neighbours += lineCorrelation(p, line, line + 1, across) / 8.0f;
        m.unrelated += lineCorrelation(p, line, line + p.size / 2, across) / 8.0f;
    }
    return m;
}

float saturationOf(float r, float g, float b)
{
    float high = std::max({r, g, b}), low = std::min({r, g, b});
    return high > 0.0f ? (high - low) / high : 0.0f;
}

float hueOf(float r, float g, float b)  // degrees, 0 red, 60 yellow
{
    float high = std::max({r, g, b}), low = std::min({r, g, b});
    if (high - low <= 0.0f)
        return 0.0f;
    float h = high == r   ? (g - b) / (high - low)
              : high == g ? 2.0f + (b - r) / (high - low)
                          : 4.0f + (r - g) / (high - low);
    return std::fmod(h * 60.0f + 360.0f, 360.0f);
}

float toLinear(float s)
{
    return s <= 0.04045f ? s / 12.92f : std::pow((s + 0.055f) / 1.055f, 2.4f);
}

float toSrgb(float l)
{
    return l <= 0.0031308f ? l * 12.92f : 1.055f * std::pow(l, 1.0f / 2.4f) - 0.055f;
}

float lightness(const Picture& p, int x, int y)
{
    return 0.3f * p.at(x, y, 0) + 0.59f * p.at(x, y, 1) + 0.11f * p.at(x, y, 2);
}

// The divergence of a normal map's slopes around a texel: negative in a hollow, whose walls
// face inwards, positive on a bump.
float slopeDivergence(const Picture& normals, int x, int y)
{
    auto slope = [&](int px, int py, int channel) { return normals.at(px, py, channel) * 2.0f - 1.0f; };
    return (slope(x + 1, y, 0) - slope(x - 1, y, 0) + slope(x, y + 1, 1) - slope(x, y - 1, 1)) * 0.5f;
}

std::vector<uint8_t> fileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(GeneratedTextures, GroundMapsAreLargeSquareAndOfOneSize)
{
    Picture colour = loadPicture("2d/Dirt.jpg"), normals = loadPicture("2d/DirtNM.jpg");
    EXPECT_GE(colour.size, 1024);
    EXPECT_EQ(colour.size & (colour.size - 1), 0) << "a power of two, for the mip-map chain";
    EXPECT_EQ(normals.size, colour.size);
    EXPECT_EQ(colour.channels, 3);
    EXPECT_EQ(normals.channels, 3);
}

TEST(GeneratedTextures, GroundMapsContinueAcrossTheirEdges)
{
    for (const char* path : {"2d/Dirt.jpg", "2d/DirtNM.jpg"}) {
        Picture p = loadPicture(path);
        ASSERT_GT(p.size, 16) << path;
        for (bool across : {false, true}) {
            SeamMeasure m = measureSeam(p, across);
            const char* edges = across ? "top and bottom rows" : "left and right columns";
            // The measure can tell: neighbouring lines are far more alike than unrelated ones.
            ASSERT_GT(m.neighbours, 0.5f) << path;
            ASSERT_LT(m.unrelated, 0.5f * m.neighbours) << path;
            EXPECT_GT(m.seam, 0.7f * m.neighbours)
                << path << ": the " << edges << " do not continue each other (correlation " << m.seam << " against "
                << m.neighbours << " between neighbours)";
        }
    }
}

TEST(GeneratedTextures, GroundColourIsGreyBrownEarth)
{
    Picture p = loadPicture("2d/Dirt.jpg");
    ASSERT_GT(p.size, 0);
    double sum[3] = {0.0, 0.0, 0.0}, saturation = 0.0;
    std::vector<float> values;
    for (int y = 0; y < p.size; y += 2)
        for (int x = 0; x < p.size; x += 2) {
            float r = p.at(x, y, 0), g = p.at(x, y, 1), b = p.at(x, y, 2);
            sum[0] += r;
            sum[1] += g;
            sum[2] += b;
            saturation += saturationOf(r, g, b);
            values.push_back(lightness(p, x, y));
        }
    double count = double(values.size());
    float r = float(sum[0] / count), g = float(sum[1] / count), b = float(sum[2] / count);
    EXPECT_LT(saturation / count, 0.22) << "soil, not clay or brick";
    EXPECT_GT(saturation / count, 0.04) << "soil, not ash";
    float hue = hueOf(r, g, b);
    EXPECT_GT(hue, 20.0f) << "brown, not red";
    EXPECT_LT(hue, 55.0f) << "brown, not olive";
    EXPECT_GT(r, 0.3f);
    EXPECT_LT(r, 0.6f) << "mid-toned, neither dust-white nor mud-black";

    // Not flat paint: the darkest and lightest twentieths lie well apart.
    std::sort(values.begin(), values.end());
    EXPECT_GT(values[values.size() * 19 / 20] - values[values.size() / 20], 0.15f);

    // The show lights the ground with a sun of colour (2, 1, 0.75): the mean colour under it
    // (in linear light, before exposure) must stay a brown, not turn orange.
    const float sun[3] = {2.0f, 1.0f, 0.75f}, mean[3] = {r, g, b};
    float lit[3];
    for (int c = 0; c < 3; ++c)
        lit[c] = toSrgb(toLinear(mean[c]) * sun[c] / sun[0]);
    EXPECT_LT(saturationOf(lit[0], lit[1], lit[2]), 0.5f)
        << "under the sun: " << lit[0] << ", " << lit[1] << ", " << lit[2];
}

TEST(GeneratedTextures, GroundNormalMapSinksTheCracksAndRaisesTheStones)
{
    Picture colour = loadPicture("2d/Dirt.jpg"), normals = loadPicture("2d/DirtNM.jpg");
    ASSERT_GT(colour.size, 0);
    ASSERT_EQ(normals.size, colour.size);
    // The darkest texels of the colour map are crack floors, the lightest are pale stones.
    std::vector<std::pair<float, int>> order;
    for (int y = 0; y < colour.size; y += 2)
        for (int x = 0; x < colour.size; x += 2)
            order.push_back({lightness(colour, x, y), y * colour.size + x});
    std::sort(order.begin(), order.end());
    auto meanDivergence = [&](size_t first, size_t last) {
        double total = 0.0;
        for (size_t i = first; i < last; ++i)
            total += slopeDivergence(normals, order[i].second % colour.size, order[i].second / colour.size);
        return float(total / double(last - first));
    };
    size_t tail = order.size() / 100;
    float cracks = meanDivergence(0, tail), stones = meanDivergence(order.size() - tail, order.size());
    float everywhere = meanDivergence(0, order.size());
    EXPECT_LT(cracks, everywhere - 0.1f) << "the dark cracks are hollows in the relief";
    EXPECT_GT(stones, everywhere + 0.05f) << "the pale stones stand out of the relief";
}

TEST(GeneratedTextures, EnvironmentKeepsItsLightInsideTheRange)
{
    Picture p = loadPicture("2d/env0.png");
    ASSERT_GT(p.size, 0);
    // Texels outside the sphere's disc repeat its rim outwards; the light is judged inside it.
    auto insideDisc = [&](int x, int y) {
        float nx = (float(x) + 0.5f) / float(p.size) * 2.0f - 1.0f,
              ny = (float(y) + 0.5f) / float(p.size) * 2.0f - 1.0f;
        return nx * nx + ny * ny < 0.98f;
    };
    size_t clipped = 0, texels = size_t(p.size) * size_t(p.size), disc = 0;
    float peak = 0.0f;
    for (int y = 0; y < p.size; ++y)
        for (int x = 0; x < p.size; ++x) {
            bool any = false;
            for (int c = 0; c < 3; ++c)
                any = any || p.at(x, y, c) >= 1.0f;
            clipped += any ? 1u : 0u;
            if (insideDisc(x, y)) {
                ++disc;
                peak = std::max(peak, lightness(p, x, y));
            }
        }
    EXPECT_LE(double(clipped) / double(texels), 0.02) << clipped << " texels at 255";
    EXPECT_GT(peak, 0.7f) << "the key light is still bright";

    // A studio: most of the sphere is a dark surround, a whole 5-bit step of grey so that the
    // driver's compression keeps it grey, floor included; the lights stand five stops above it.
    auto texel = [&](float nx, float ny, int c) {
        return p.at(int((nx * 0.5f + 0.5f) * float(p.size)), int((ny * 0.5f + 0.5f) * float(p.size)), c);
    };
    size_t dark = 0;
    for (int y = 0; y < p.size; ++y)
        for (int x = 0; x < p.size; ++x)
            dark += insideDisc(x, y) && lightness(p, x, y) < 0.1f ? 1u : 0u;
    EXPECT_GT(double(dark) / double(disc), 0.5) << "a dark surround";
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(texel(0.3f, 0.5f, c), 1.0f / 31.0f, 0.5f / 255.0f) << "surround, channel " << c;
        EXPECT_NEAR(texel(0.3f, -0.5f, c), 1.0f / 31.0f, 0.5f / 255.0f) << "floor, channel " << c;
    }
    EXPECT_GT(peak, 12.0f * texel(0.3f, 0.5f, 1)) << "the lights four stops over the surround";
}

TEST(GeneratedTextures, GeneratorWritesTheSameBytesAgain)
{
    const std::filesystem::path again = std::filesystem::absolute("test-output/texgen-again");
    std::filesystem::remove_all(again);
    std::string command = std::string("\"") + TEXGEN_PATH + "\" \"" + again.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const char* name : {"ScratchNM_R.png", "env0.png", "speedlines.png", "Dirt.jpg", "DirtNM.jpg"}) {
        std::vector<uint8_t> built = fileBytes(std::filesystem::path("2d") / name);
        EXPECT_FALSE(built.empty()) << name;
        EXPECT_TRUE(built == fileBytes(again / "2d" / name)) << name << " differs from one run to the next";
    }
}
