// Cutting a selection out of the frozen screen: the size of the image, and which pixels stay
// opaque for each shape. Memory bitmaps only; nothing is drawn on the display.
#include "screen_image.h"

#include <gtest/gtest.h>

namespace {

// An opaque pixel that tells the screen point it shows, for points from -1000 to 3095.
uint32_t PixelAt(int x, int y) {
    return 0xFF000000u | uint32_t(y + 1000) << 12 | uint32_t(x + 1000);
}

// A frozen screen whose top-left pixel shows the screen point (nLeft, nTop).
PixelImage Frozen(int nWidth, int nHeight, int nLeft = 0, int nTop = 0) {
    PixelImage image{nWidth, nHeight, {}, nLeft, nTop};
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x)
            image.aPixels.push_back(PixelAt(nLeft + x, nTop + y));
    return image;
}

bool Opaque(const PixelImage &image, int x, int y) {
    return (image.aPixels[size_t(y) * image.nWidth + x] >> 24) == 0xFF;
}

TEST(DemoCutOut, ShapesKeepTheirInsideAndClearTheRest) {
    const PixelImage frozen = Frozen(200, 100);
    const struct {
        const char *szName;
        RECT rc;
        CutShape shape;
        std::vector<POINT> vertices;
        POINT ptInside, ptOutside;
    } cases[] = {
        {"ellipse", {20, 10, 120, 90}, CutShape::Ellipse, {}, {50, 40}, {1, 1}},
        // A triangle with its right angle at the bottom left; bounds include the largest
        // coordinates, as the polygon's bounds do.
        {"polygon",
         {10, 10, 61, 61},
         CutShape::Polygon,
         {{10, 10}, {10, 60}, {60, 60}},
         {5, 40},
         {40, 5}},
    };
    for (const auto &c : cases) {
        const PixelImage image = CutOut(frozen, c.rc, c.shape, c.vertices);
        ASSERT_EQ(image.nWidth, c.rc.right - c.rc.left) << c.szName;
        ASSERT_EQ(image.nHeight, c.rc.bottom - c.rc.top) << c.szName;
        EXPECT_TRUE(Opaque(image, c.ptInside.x, c.ptInside.y)) << c.szName;
        EXPECT_FALSE(Opaque(image, c.ptOutside.x, c.ptOutside.y)) << c.szName;
        // An opaque pixel is the frozen screen's pixel at the same place.
        EXPECT_EQ(image.aPixels[size_t(c.ptInside.y) * image.nWidth + c.ptInside.x],
                  frozen.aPixels[size_t(c.rc.top + c.ptInside.y) * 200 + c.rc.left + c.ptInside.x])
            << c.szName;
    }
    // The polygon's vertices themselves belong to it, as its outline does on the screen.
    const PixelImage triangle =
        CutOut(frozen, {10, 10, 61, 61}, CutShape::Polygon, {{10, 10}, {10, 60}, {60, 60}});
    EXPECT_TRUE(Opaque(triangle, 0, 0));
    EXPECT_TRUE(Opaque(triangle, 50, 50));
}

// A crop takes screen points: the frozen screen may start left of or above (0, 0), where a
// second monitor stands, and the crop is clipped to it.
TEST(DemoCutOut, RectangleIsCutAtItsPlaceOnTheScreen) {
    const struct {
        const char *szName;
        POINT ptOrigin; // the frozen screen's top-left corner on the screen
        RECT rc, rcExpected;
    } cases[] = {
        {"clipped to the screen", {0, 0}, {150, -20, 260, 30}, {150, 0, 200, 30}},
        {"off the screen", {0, 0}, {300, 0, 400, 50}, {}},
        {"across x = 0 from a monitor on the left, clipped at its top",
         {-100, -20},
         {-30, -40, 40, 10},
         {-30, -20, 40, 10}},
    };
    for (const auto &c : cases) {
        const PixelImage image =
            CutOut(Frozen(200, 100, c.ptOrigin.x, c.ptOrigin.y), c.rc, CutShape::Rectangle, {});
        const RECT rc = ImageRect(image);
        EXPECT_TRUE(EqualRect(&rc, &c.rcExpected)) << c.szName << ": got " << rc.left << " "
                                                   << rc.top << " " << rc.right << " " << rc.bottom;
        ASSERT_EQ(image.aPixels.size(), size_t(image.nWidth) * image.nHeight) << c.szName;
        for (int y = 0; y < image.nHeight; ++y)
            for (int x = 0; x < image.nWidth; ++x)
                ASSERT_EQ(image.aPixels[size_t(y) * image.nWidth + x],
                          PixelAt(c.rcExpected.left + x, c.rcExpected.top + y))
                    << c.szName << " at " << x << " " << y;
    }
}

// A host told a scaled screen sees each monitor at its place in its own coordinates: here the
// primary as it is and a monitor right of it at half its size, with nothing below that one.
TEST(DemoCutOut, EachMonitorIsScaledOntoTheRectangleTheHostIsTold) {
    PixelImage physical = Frozen(200, 100);
    for (size_t i = 0; i < physical.aPixels.size(); ++i)
        physical.aPixels[i] = i % 200 < 100 ? 0xFFFF0000u : 0xFF0000FFu;
    const PixelImage seen = SeenFromPhysical(
        physical, {{{0, 0, 100, 100}, {0, 0, 100, 100}}, {{100, 0, 200, 100}, {100, 0, 150, 50}}},
        {0, 0, 150, 100});
    ASSERT_EQ(seen.nWidth * 1000 + seen.nHeight, 150100);
    for (const auto &e : std::vector<std::pair<POINT, uint32_t>>{{{99, 99}, 0xFFFF0000u},
                                                                 {{100, 0}, 0xFF0000FFu},
                                                                 {{149, 49}, 0xFF0000FFu},
                                                                 {{120, 70}, 0xFF000000u}})
        EXPECT_EQ(seen.aPixels[size_t(e.first.y) * 150 + e.first.x], e.second) << e.first.x;
}

} // namespace
