// The screenshots' PNG writer: its checksums against known values, and its files read back by a
// small reader of stored deflate blocks, across the 65535-byte block limit.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/png.h"

namespace windlock_test {
namespace {

std::vector<uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

struct ChecksumCase {
  const char* name;
  std::vector<uint8_t> input;
  uint32_t crc32;
  uint32_t adler32;
};

TEST(PngChecksums, MatchTheirKnownValues) {
  const std::vector<ChecksumCase> cases = {
      {"nothing", {}, 0x00000000, 0x00000001},
      {"check string", Bytes("123456789"), 0xCBF43926, 0x091E01DE},
      {"Wikipedia", Bytes("Wikipedia"), 0xADAAC02E, 0x11E60398},
      // Long enough for Adler-32's sums to pass its modulus many times.
      {"100000 bytes 0xFF", std::vector<uint8_t>(100000, 0xFF), 0x68C6CEC4, 0x149A302C},
  };
  for (const ChecksumCase& row : cases) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.crc32, Crc32(row.input));
    EXPECT_EQ(row.adler32, Adler32(row.input));
  }
}

uint32_t BigEndian(const std::vector<uint8_t>& bytes, std::size_t at) {
  return (uint32_t{bytes.at(at)} << 24) | (uint32_t{bytes.at(at + 1)} << 16) |
         (uint32_t{bytes.at(at + 2)} << 8) | bytes.at(at + 3);
}

// What a PNG reader needs of the writer's files; each step's failure names itself.
struct ReadPng {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgb;
  int stored_blocks = 0;
};

ReadPng Read(const std::vector<uint8_t>& png) {
  const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_EQ(signature, std::vector<uint8_t>(png.begin(), png.begin() + 8));
  ReadPng image;
  std::vector<uint8_t> zlib;
  std::vector<std::string> chunk_types;
  for (std::size_t at = 8; at < png.size();) {
    const uint32_t length = BigEndian(png, at);
    const std::string type(png.begin() + at + 4, png.begin() + at + 8);
    const std::vector<uint8_t> checked(png.begin() + at + 4, png.begin() + at + 8 + length);
    EXPECT_EQ(Crc32(checked), BigEndian(png, at + 8 + length)) << type;
    const std::vector<uint8_t> data(checked.begin() + 4, checked.end());
    if (type == "IHDR") {
      image.width = BigEndian(data, 0);
      image.height = BigEndian(data, 4);
      EXPECT_EQ((std::vector<uint8_t>{8, 2, 0, 0, 0}),
                std::vector<uint8_t>(data.begin() + 8, data.end()));
    }
    if (type == "IDAT") zlib.insert(zlib.end(), data.begin(), data.end());
    chunk_types.push_back(type);
    at += 12 + length;
  }
  EXPECT_EQ((std::vector<std::string>{"IHDR", "IDAT", "IEND"}), chunk_types);

  EXPECT_EQ(0, ((zlib.at(0) << 8) | zlib.at(1)) % 31) << "zlib header check";
  std::vector<uint8_t> raw;
  std::size_t at = 2;
  for (bool last = false; !last;) {
    EXPECT_EQ(0, zlib.at(at) & 0x06) << "a stored block";
    last = zlib.at(at) & 0x01;
    const uint16_t length = zlib.at(at + 1) | (zlib.at(at + 2) << 8);
    const uint16_t inverse = zlib.at(at + 3) | (zlib.at(at + 4) << 8);
    EXPECT_EQ(static_cast<uint16_t>(~length), inverse);
    raw.insert(raw.end(), zlib.begin() + at + 5, zlib.begin() + at + 5 + length);
    at += 5 + length;
    ++image.stored_blocks;
  }
  EXPECT_EQ(Adler32(raw), BigEndian(zlib, at));
  EXPECT_EQ(at + 4, zlib.size());

  const std::size_t row_bytes = std::size_t{image.width} * 3;
  EXPECT_EQ((row_bytes + 1) * image.height, raw.size());
  for (std::size_t row = 0; row + row_bytes < raw.size(); row += row_bytes + 1) {
    EXPECT_EQ(0, raw[row]) << "filter type";
    image.rgb.insert(image.rgb.end(), raw.begin() + row + 1, raw.begin() + row + 1 + row_bytes);
  }
  return image;
}

struct ImageCase {
  const char* name;
  uint32_t width;
  uint32_t height;
  int stored_blocks;
};

TEST(PngEncoding, ReadsBackAsWritten) {
  const ImageCase cases[] = {
      {"one pixel", 1, 1, 1},
      // A row and its filter byte: 85 bytes, 771 rows: exactly 65535 bytes, one full block.
      {"one full block", 28, 771, 1},
      // 256 bytes, 256 rows: 65536 bytes, one over.
      {"one byte over a block", 85, 256, 2},
      {"a screenshot's size", 640, 480, 15},
  };
  for (const ImageCase& row : cases) {
    SCOPED_TRACE(row.name);
    std::vector<uint8_t> rgb(std::size_t{row.width} * row.height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7 + i / 251);
    ReadPng image = Read(EncodePng(row.width, row.height, rgb));
    EXPECT_EQ(row.width, image.width);
    EXPECT_EQ(row.height, image.height);
    EXPECT_EQ(row.stored_blocks, image.stored_blocks);
    EXPECT_TRUE(rgb == image.rgb);
  }
}

TEST(PngEncoding, RefusesPixelsThatDoNotFitTheSize) {
  std::vector<uint8_t> rgb(2 * 2 * 3 - 1);
  EXPECT_THROW(EncodePng(2, 2, rgb), std::invalid_argument);
}

}  // namespace
}  // namespace windlock_test
