#include "support/png.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <stdexcept>

namespace windlock_test {
namespace {

// The checksums PNG files carry: CRC-32 of each chunk, Adler-32 of the zlib stream.
uint32_t Crc32(std::span<const uint8_t> bytes) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> entries{};
    for (uint32_t n = 0; n < entries.size(); ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      entries[n] = c;
    }
    return entries;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (uint8_t byte : bytes) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

uint32_t Adler32(std::span<const uint8_t> bytes) {
  constexpr uint32_t kModulus = 65521;
  uint32_t a = 1;
  uint32_t b = 0;
  for (uint8_t byte : bytes) {
    a = (a + byte) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

// The most one stored deflate block holds.
constexpr std::size_t kMaxStoredBlock = 0xFFFF;

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void AppendChunk(std::vector<uint8_t>& out, const char (&type)[5], std::span<const uint8_t> data) {
  AppendBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::size_t checked_from = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  AppendBigEndian(out, Crc32(std::span(out).subspan(checked_from)));
}

// A zlib stream of stored deflate blocks: no compression, which every inflater reads.
std::vector<uint8_t> ZlibStored(std::span<const uint8_t> data) {
  // Deflate with a 32 KiB window, no dictionary, and a header check that makes it a multiple of 31.
  std::vector<uint8_t> out = {0x78, 0x01};
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min(kMaxStoredBlock, data.size() - offset);
    const bool last = offset + length == data.size();
    out.push_back(last ? 0x01 : 0x00);
    out.push_back(static_cast<uint8_t>(length));
    out.push_back(static_cast<uint8_t>(length >> 8));
    out.push_back(static_cast<uint8_t>(~length));
    out.push_back(static_cast<uint8_t>(~length >> 8));
    out.insert(out.end(), data.begin() + offset, data.begin() + offset + length);
    offset += length;
  } while (offset < data.size());
  AppendBigEndian(out, Adler32(data));
  return out;
}

}  // namespace

std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, std::span<const uint8_t> rgb) {
  const std::size_t row_bytes = std::size_t{width} * 3;
  if (rgb.size() != row_bytes * height) throw std::invalid_argument("pixels do not fit the size");
  // Each row starts with its filter type, 0: the bytes as they are.
  std::vector<uint8_t> raw;
  raw.reserve((row_bytes + 1) * height);
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    auto row = rgb.subspan(y * row_bytes, row_bytes);
    raw.insert(raw.end(), row.begin(), row.end());
  }

  std::vector<uint8_t> header;
  AppendBigEndian(header, width);
  AppendBigEndian(header, height);
  // 8 bits a sample, RGB, deflate, adaptive filtering, no interlace.
  header.insert(header.end(), {8, 2, 0, 0, 0});

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", ZlibStored(raw));
  AppendChunk(png, "IEND", {});
  return png;
}

}  // namespace windlock_test
