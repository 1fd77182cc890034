// Cutting a selection out of the frozen screen: the size of the image, and which pixels stay
// opaque for each shape. Memory bitmaps only; nothing is drawn on the display.
#include "screen_image.h"

#include <gtest/gtest.h>

namespace {

PixelImage Frozen(int nWidth, int nHeight) {
    PixelImage image{nWidth, nHeight, {}};
    for (int i = 0; i < nWidth * nHeight; ++i)
        image.aPixels.push_back(0xFF000000u | uint32_t(i));
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

TEST(DemoCutOut, RectangleIsClippedToTheScreen) {
    const PixelImage image = CutOut(Frozen(200, 100), {150, -20, 260, 30}, CutShape::Rectangle, {});
    EXPECT_EQ(image.nWidth, 50);
    EXPECT_EQ(image.nHeight, 30);
    EXPECT_TRUE(Opaque(image, 49, 29));
    EXPECT_TRUE(
        CutOut(Frozen(200, 100), {300, 0, 400, 50}, CutShape::Rectangle, {}).aPixels.empty());
}

} // namespace
