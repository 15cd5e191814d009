#pragma once
// A contact sheet: frames of the whole show laid out in rows, three frames of each scene to a
// row, each labelled with its demo time, for judging the look at a glance.
#include <cstdint>
#include <string>
#include <vector>

// The moments on the sheet, in seconds of demo time: the timeline's three inside each scene.
const std::vector<double>& contactSheetTimes();

// "t = 12.50 s"
std::string timeLabel(double t);

struct SheetImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;  // top row first
};

// Places the tiles (each tileWidth x tileHeight RGBA8, top row first) `columns` to a row, in
// order, on a dark ground with a gap between them, and writes labels[i] in the lower-left corner
// of tile i.
SheetImage layOutContactSheet(const std::vector<std::vector<uint8_t>>& tiles, const std::vector<std::string>& labels,
                              uint32_t tileWidth, uint32_t tileHeight, uint32_t columns);
