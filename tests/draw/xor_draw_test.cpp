#include "draw/box_geometry.h"
#include "draw/xor_draw.h"

#include "screen_snapshot.h"

#include <gtest/gtest.h>

TEST(XorDraw, Smoke) {
    ScreenSnapshot before = ScreenSnapshot::Take();
    EXPECT_NE(XorBox(10, 10, 20, 20, 0), 0);
    ScreenSnapshot after = ScreenSnapshot::Take();
    EXPECT_EQ(ChangedPixels(before, after), RectOutline(10, 10, 20, 20));
    XorBox(10, 10, 20, 20, 0);
    EXPECT_TRUE(ScreenSnapshot::Take() == before);
}
