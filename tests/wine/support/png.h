#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace windlock_test {

// A PNG file of 8-bit RGB pixels, `rgb` holding the rows top to bottom, three bytes a pixel. The
// pixels go uncompressed (stored deflate blocks): screenshots stay small enough, and any viewer
// reads them. Throws std::invalid_argument when `rgb` does not hold width x height pixels.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, std::span<const uint8_t> rgb);

}  // namespace windlock_test
