#include "engine/scale.h"

#include <gtest/gtest.h>

struct ScaleCase {
  int width;
  int value;
  int expected;
};

TEST(ScaleAtTest, TruncatesTheExtendedPrecisionProduct) {
  const ScaleCase cases[] = {
      {1024, 207, 264},  {1024, 76, 97},    {1152, 25, 35},  {1152, 800, 1151},
      {1920, 800, 1919}, {1280, 92, 147},   {800, 912, 912}, {1024, 912, 1167},
      {1, 912, 1},       {1600, 800, 1600}, {1152, 0, 0},    {1366, 800, 1366},
  };
  for (const ScaleCase& c : cases) {
    EXPECT_EQ(ScaleAt(c.width, c.value), c.expected) << "width " << c.width << " value " << c.value;
  }
}

TEST(ScaleAtTest, IsTheIdentityAtTheDesignWidth) {
  for (int v = -1000; v <= 2000; ++v) ASSERT_EQ(ScaleAt(800, v), v);
}

TEST(ScaleAtTest, ClampsInsteadOfOverflowing) {
  EXPECT_EQ(ScaleAt(2000000000, 912), 2147483647);
  EXPECT_EQ(ScaleAt(2000000000, -912), -2147483647 - 1);
}
