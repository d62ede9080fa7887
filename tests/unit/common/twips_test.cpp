#include "common/twips.h"

#include <gtest/gtest.h>

namespace windlock {
namespace {

TEST(TwipsTest, RoundsHalfToEven) {
  const std::pair<float, float> cases[] = {{2.5f, 2.0f}, {3.5f, 4.0f},   {2.4f, 2.0f},
                                           {2.6f, 3.0f}, {-2.5f, -2.0f}, {-3.5f, -4.0f}};
  for (const auto& [twips, rounded] : cases) EXPECT_EQ(RoundTwips(twips), rounded) << twips;
}

TEST(TwipsTest, ConvertsToThePixelNearestAndBack) {
  // 15 twips a pixel at 96 dpi, 12 at 120; half a pixel rounds away from zero.
  const struct {
    float twips;
    int dpi;
    int pixels;
  } cases[] = {{1440, 96, 96},  {7, 96, 0},       {8, 96, 1},  {7.5f, 96, 1},
               {-7.5f, 96, -1}, {1440, 120, 120}, {18, 120, 2}};
  for (const auto& c : cases) EXPECT_EQ(TwipsToPixels(c.twips, c.dpi), c.pixels) << c.twips;
  EXPECT_EQ(PixelsToTwips(1, 96), 15.0f);
  EXPECT_EQ(PixelsToTwips(-3, 120), -36.0f);
  EXPECT_EQ(TwipsToPixels(PixelsToTwips(1023, 96), 96), 1023);
}

}  // namespace
}  // namespace windlock
