#include "crack_network.h"

#include "tiling_noise.h"

#include <algorithm>
#include <cmath>

namespace {

int wrap(int value, int count)
{
    return ((value % count) + count) % count;
}

}  // namespace

CrackNetwork::CrackNetwork(int cells, uint64_t seed, CrackShape shape)
    : cells_(cells), seed_(seed), shape_(shape), points_(size_t(cells) * size_t(cells))
{
    TextureRandom random(seed);
    // Kept off the lattice lines so that the nearest point always lies in the 3 x 3 cells
    // around a texel: the search below looks no further.
    for (Point& point : points_)
        point = {random.range(0.12f, 0.88f), random.range(0.12f, 0.88f)};
    // Every texel asks for the widths of its plate's borders: work them out once.
    borders_.resize(points_.size() * 9);
    for (int y = 0; y < cells; ++y)
        for (int x = 0; x < cells; ++x)
            for (int k = 0; k < 9; ++k)
                borders_[size_t(idOf(x, y)) * 9 + size_t(k)] =
                    halfWidthOf(idOf(x, y), idOf(x + k % 3 - 1, y + k / 3 - 1));
}

uint32_t CrackNetwork::idOf(int x, int y) const
{
    return uint32_t(wrap(y, cells_) * cells_ + wrap(x, cells_));
}

const CrackNetwork::Point& CrackNetwork::pointOf(int x, int y) const
{
    return points_[size_t(wrap(y, cells_)) * size_t(cells_) + size_t(wrap(x, cells_))];
}

float CrackNetwork::halfWidthOf(uint32_t cellA, uint32_t cellB) const
{
    // Both sides of a border must agree on its width: hash the pair in a fixed order.
    uint64_t low = std::min(cellA, cellB), high = std::max(cellA, cellB);
    TextureRandom border(seed_ ^ ((high << 32 | low) * 0x9E3779B97F4A7C15ull));
    if (border.unit() >= shape_.openShare)
        return 0.0f;
    float t = border.unit();
    return shape_.narrowest + (shape_.widest - shape_.narrowest) * t * t * t;
}

CrackSample CrackNetwork::sample(float u, float v, float widthScale) const
{
    float x = u * float(cells_), y = v * float(cells_);
    int cx = int(std::floor(x)), cy = int(std::floor(y));

    // The nearest point: the plate this texel is on.
    float best = 1e9f, nearX = 0.0f, nearY = 0.0f;
    int nearCellX = 0, nearCellY = 0;
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            const Point& p = pointOf(cx + ox, cy + oy);
            float px = float(cx + ox) + p.x - x, py = float(cy + oy) + p.y - y;
            float d = px * px + py * py;
            if (d < best) {
                best = d;
                nearX = px;
                nearY = py;
                nearCellX = cx + ox;
                nearCellY = cy + oy;
            }
        }
    uint32_t own = idOf(nearCellX, nearCellY);
    const float* borderWidths = &borders_[size_t(own) * 9];

    // Distance to each border with a neighbour: the bisector between the two points. Each
    // open border cuts a crack whose depth falls off across its half-width; where cracks
    // meet, the deeper one wins, so a thin crack runs smoothly into a wide one.
    CrackSample result;
    result.cell = own;
    result.borderDistance = 1e9f;
    for (int oy = -1; oy <= 1; ++oy)
        for (int ox = -1; ox <= 1; ++ox) {
            int otherX = nearCellX + ox, otherY = nearCellY + oy;
            if (ox == 0 && oy == 0)
                continue;
            const Point& p = pointOf(otherX, otherY);
            float px = float(otherX) + p.x - x, py = float(otherY) + p.y - y;
            float dx = px - nearX, dy = py - nearY;
            float length = std::sqrt(dx * dx + dy * dy);
            float distance = ((nearX + px) * 0.5f * dx + (nearY + py) * 0.5f * dy) / length / float(cells_);
            result.borderDistance = std::min(result.borderDistance, distance);
            float halfWidth = borderWidths[(oy + 1) * 3 + ox + 1] * widthScale;
            if (halfWidth <= 0.0f)
                continue;
            float drawnHalfWidth = std::max(halfWidth, shape_.finestDrawn);
            if (distance >= drawnHalfWidth)
                continue;
            float across = distance / drawnHalfWidth;
            // Steep walls and a narrow floor; wider cracks also run deeper.
            float profile = 1.0f - across * across;
            float depth = profile * std::min(1.0f, std::sqrt(halfWidth / shape_.widest)) * (halfWidth / drawnHalfWidth);
            result.depth = std::max(result.depth, depth);
        }
    return result;
}
