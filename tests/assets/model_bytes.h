#pragma once
// Builds .3d file images byte by byte in tests, independently of the model writer, so the
// parser is checked against the format itself.
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <vector>

struct ModelBytes {
    std::vector<uint8_t> bytes;

    ModelBytes& u8(uint8_t value)
    {
        bytes.push_back(value);
        return *this;
    }
    ModelBytes& u16(std::initializer_list<uint16_t> values)
    {
        for (uint16_t value : values) {
            bytes.push_back(uint8_t(value & 0xFF));
            bytes.push_back(uint8_t(value >> 8));
        }
        return *this;
    }
    ModelBytes& f32(std::initializer_list<float> values)
    {
        for (float value : values) {
            uint8_t raw[4];
            std::memcpy(raw, &value, 4);
            bytes.insert(bytes.end(), raw, raw + 4);
        }
        return *this;
    }
};

// The smallest useful file: float positions (0,0,0), (1,0,0), (0,1,0), no group count, one
// group with one triangle 0, 1, 2. 47 bytes.
inline std::vector<uint8_t> smallestModelFile()
{
    return ModelBytes().u8(0x04).u16({3}).f32({0, 0, 0, 1, 0, 0, 0, 1, 0}).u16({1}).u16({0, 1, 2}).bytes;
}
