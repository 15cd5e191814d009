#include "contact_sheet.h"

#include "label_font.h"

#include "show/timeline.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr uint32_t gap = 6;
constexpr uint8_t groundLevel = 24;
}

const std::vector<double>& contactSheetTimes()
{
    static const std::vector<double> times = [] {
        std::vector<double> moments;
        for (const SceneRow& row : timeline)
            moments.insert(moments.end(), row.sheetMoments.begin(), row.sheetMoments.end());
        return moments;
    }();
    return times;
}

std::string timeLabel(double t)
{
    char text[32];
    std::snprintf(text, sizeof text, "t = %.2f s", t);
    return text;
}

SheetImage layOutContactSheet(const std::vector<std::vector<uint8_t>>& tiles, const std::vector<std::string>& labels,
                              uint32_t tileWidth, uint32_t tileHeight, uint32_t columns)
{
    SheetImage sheet;
    const uint32_t rows = uint32_t((tiles.size() + columns - 1) / columns);
    sheet.width = columns * tileWidth + (columns + 1) * gap;
    sheet.height = rows * tileHeight + (rows + 1) * gap;
    sheet.rgba.assign(size_t(sheet.width) * sheet.height * 4, groundLevel);
    for (size_t i = 3; i < sheet.rgba.size(); i += 4)
        sheet.rgba[i] = 255;

    // Labels stay readable on any tile: about 1/30 of its height, on a dark plate.
    const int scale = std::max(1, int(tileHeight) / 120);
    const int margin = 2 * scale;
    const uint8_t ink[3] = {240, 240, 240};
    for (size_t i = 0; i < tiles.size(); ++i) {
        const uint32_t left = gap + uint32_t(i % columns) * (tileWidth + gap);
        const uint32_t top = gap + uint32_t(i / columns) * (tileHeight + gap);
        for (uint32_t row = 0; row < tileHeight; ++row)
            std::memcpy(&sheet.rgba[(size_t(top + row) * sheet.width + left) * 4],
                        &tiles[i][size_t(row) * tileWidth * 4], size_t(tileWidth) * 4);
        if (i >= labels.size())
            continue;
        const int plateWidth = labelWidth(labels[i], scale) + 2 * margin;
        const int plateHeight = glyphHeight * scale + 2 * margin;
        const int plateTop = int(top + tileHeight) - plateHeight;
        for (int y = 0; y < plateHeight; ++y)
            for (int x = 0; x < std::min(plateWidth, int(tileWidth)); ++x) {
                uint8_t* pixel = &sheet.rgba[(size_t(plateTop + y) * sheet.width + left + uint32_t(x)) * 4];
                for (int c = 0; c < 3; ++c)
                    pixel[c] = uint8_t(pixel[c] / 4);
            }
        drawLabel(sheet.rgba, int(sheet.width), int(sheet.height), int(left) + margin, plateTop + margin, labels[i],
                  scale, ink);
    }
    return sheet;
}
