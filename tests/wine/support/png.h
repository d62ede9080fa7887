#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace windlock_test {

// The checksums PNG files carry: CRC-32 of each chunk, Adler-32 of the zlib stream.
uint32_t Crc32(std::span<const uint8_t> bytes);
uint32_t Adler32(std::span<const uint8_t> bytes);

// A PNG file of 8-bit RGB pixels, `rgb` holding the rows top to bottom, three bytes a pixel. The
// pixels go uncompressed (stored deflate blocks): screenshots stay small enough, and any viewer
// reads them. Throws std::invalid_argument when `rgb` does not hold width x height pixels.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, std::span<const uint8_t> rgb);

}  // namespace windlock_test
