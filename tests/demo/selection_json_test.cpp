// The demo's JSON line, its command line and its panel's live size: what a reader of the output,
// a user of the options and a person watching the panel rely on.
#include "demo_options.h"
#include "live_size.h"
#include "selection_json.h"
#include "utf8_text.h"

#include <gtest/gtest.h>

namespace {

TEST(DemoJson, RectangleHasNeitherVerticesNorWindow) {
    SelectionReport report;
    report.mode = "ellipse";
    report.left = -5;
    report.top = 10;
    report.right = 130;
    report.bottom = 400;
    report.file = "out/selection-1-ellipse.png";
    EXPECT_EQ(SelectionJson(report), "{\"mode\":\"ellipse\",\"rect\":[-5,10,130,400],"
                                     "\"file\":\"out/selection-1-ellipse.png\"}");
    report.bHasHostRect = true; // a host told a scaled screen: where it cut the image
    report.hostRight = 87;
    EXPECT_NE(SelectionJson(report).find("400],\"hostRect\":[0,0,87,0],\"file\""),
              std::string::npos);
}

TEST(DemoJson, PolygonListsItsVerticesInOrder) {
    SelectionReport report;
    report.mode = "polygon";
    report.right = 9;
    report.bottom = 8;
    report.vertices = {{1, 2}, {8, 0}, {3, 7}};
    report.file = "p.png";
    EXPECT_EQ(SelectionJson(report), "{\"mode\":\"polygon\",\"rect\":[0,0,9,8],"
                                     "\"vertices\":[[1,2],[8,0],[3,7]],\"file\":\"p.png\"}");
    // On a monitor left of or above the primary, points are negative.
    report.left = -800;
    report.top = -600;
    report.vertices = {{-800, -1}, {-1, -600}};
    EXPECT_NE(SelectionJson(report).find("[-800,-600,9,8],\"vertices\":[[-800,-1],[-1,-600]]"),
              std::string::npos);
    report.vertices.clear();
    EXPECT_NE(SelectionJson(report).find("\"vertices\":[]"), std::string::npos);
}

TEST(DemoJson, WindowHandleIsHexAndPathsAreEscaped) {
    SelectionReport report;
    report.mode = "window";
    report.bHasWindow = true;
    report.window = 0x1005A;
    report.file = "C:\\out\\\"a\"\n.png";
    EXPECT_EQ(SelectionJson(report), "{\"mode\":\"window\",\"rect\":[0,0,0,0],"
                                     "\"window\":\"0x0001005A\","
                                     "\"file\":\"C:\\\\out\\\\\\\"a\\\"\\n.png\"}");
    EXPECT_EQ(JsonString(std::string("\x01", 1)), "\"\\u0001\"");
    // A picked target: its name escaped, its name and type only where it has them.
    report.targetKind = "element";
    report.targetName = "\"Red\"\\ caf\xC3\xA9\t";
    report.nTargetType = 50007;
    EXPECT_NE(
        SelectionJson(report).find("\"0x0001005A\",\"target\":{\"kind\":\"element\",\"name\":"
                                   "\"\\\"Red\\\"\\\\ caf\xC3\xA9\\t\",\"type\":50007},\"file\""),
        std::string::npos);
    report.targetKind = "monitor";
    report.targetName.clear();
    report.nTargetType = 0;
    EXPECT_NE(SelectionJson(report).find(",\"target\":{\"kind\":\"monitor\"},\"file\""),
              std::string::npos);
}

// Paths come from the Unicode command line as UTF-8 and reach the JSON line and the files whole.
TEST(DemoJson, PathsOutsideAsciiAreUtf8) {
    const struct {
        const wchar_t *szWide;
        const char *szUtf8;
    } cases[] = {
        {L"caf\u00e9", "caf\xC3\xA9"},
        {L"\u0441\u043D\u0438\u043C\u043A\u0438",
         "\xD1\x81\xD0\xBD\xD0\xB8\xD0\xBC\xD0\xBA\xD0\xB8"},
        // Beyond the first plane: a pair of surrogates is one character.
        {L"\u6F22\U0001F600", "\xE6\xBC\xA2\xF0\x9F\x98\x80"},
        {L"", ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(Utf8FromWide(c.szWide), c.szUtf8);
        EXPECT_EQ(WideFromUtf8(c.szUtf8), c.szWide);
        SelectionReport report;
        report.mode = "rectangle";
        report.file = std::string("C:\\") + c.szUtf8 + "\\selection-1-rectangle.png";
        EXPECT_NE(SelectionJson(report).find("\"file\":\"C:\\\\" + std::string(c.szUtf8) +
                                             "\\\\selection-1-rectangle.png\"}"),
                  std::string::npos);
    }
}

TEST(DemoPanel, LiveSizeIsWidthHeightAndTopLeftOfTheMessagesRectangle) {
    const struct {
        short left, top, right, bottom;
        const char *szText;
    } cases[] = {
        {60, 70, 425, 305, "365 x 235 at 60,70"},
        // On a monitor left of or above the primary, coordinates are negative.
        {-1000, -200, -24, 100, "976 x 300 at -1000,-200"},
        {-32768, -5, 32767, -1, "65535 x 4 at -32768,-5"},
        {0, 0, 30, 0, "30 x 0 at 0,0"},
        {0, 0, 0, 0, ""}, // the selection ended
    };
    for (const auto &c : cases)
        EXPECT_EQ(LiveSizeText(MAKEWPARAM(WORD(c.left), WORD(c.top)),
                               MAKELPARAM(WORD(c.right), WORD(c.bottom))),
                  c.szText);
}

TEST(DemoOptions, EveryOptionIsRead) {
    const ParsedOptions parsed = ParseDemoOptions(
        {"--mode", "polygon", "--no-adjust", "--no-highlight", "--rect=1,2,30,40", "--repeat",
         "--out", "o", "--script", "s.txt", "--snapshots=snap", "--step-delay", "5",
         "--rubber-edge", "--snap", "--dpi-unaware", "--loupe", "--elements"});
    ASSERT_EQ(parsed.error, "");
    const DemoOptions &o = parsed.options;
    EXPECT_EQ(o.nMode, 5);
    EXPECT_FALSE(o.bAdjustable);
    EXPECT_FALSE(o.bHighlightWindows);
    ASSERT_TRUE(o.bHasInitialRect);
    EXPECT_EQ(o.initialRect[2], 30);
    EXPECT_TRUE(o.bRepeat);
    EXPECT_EQ(o.outDir, "o");
    EXPECT_EQ(o.scriptFile, "s.txt");
    EXPECT_EQ(o.snapshotDir, "snap");
    EXPECT_EQ(o.nStepDelayMs, 5);
    EXPECT_TRUE(o.bRubberEdge);
    EXPECT_FALSE(ParseDemoOptions({}).options.bRubberEdge);
    EXPECT_NE(std::string(kDemoUsage).find("--rubber-edge"), std::string::npos);
    EXPECT_TRUE(o.bSnapEdges);
    EXPECT_TRUE(o.bDpiUnaware && !ParseDemoOptions({}).options.bDpiUnaware);
    EXPECT_FALSE(ParseDemoOptions({}).options.bSnapEdges);
    EXPECT_NE(std::string(kDemoUsage).find("--snap "), std::string::npos);
    EXPECT_TRUE(o.bLoupe && !ParseDemoOptions({}).options.bLoupe);
    EXPECT_NE(std::string(kDemoUsage).find("--loupe "), std::string::npos);
    EXPECT_TRUE(o.bPickElements && !ParseDemoOptions({}).options.bPickElements);
    EXPECT_NE(std::string(kDemoUsage).find("--elements "), std::string::npos);
    EXPECT_EQ(ParseDemoOptions({"--mode=window"}).options.nMode, 0);
    const DemoOptions s = ParseDemoOptions({"--ratio", "16:9", "--fixed= 640 X 360", "--vertices",
                                            "1,2,30,2,9,40", "--last-region"})
                              .options;
    EXPECT_EQ(s.ratio[0] * 1000 + s.ratio[1], 16009);
    EXPECT_EQ(s.fixedSize[0] * 1000 + s.fixedSize[1], 640360);
    EXPECT_EQ(s.vertices, std::vector<long>({1, 2, 30, 2, 9, 40}));
    EXPECT_TRUE(s.bLastRegion && !o.bLastRegion && !o.ratio[0] && o.vertices.empty());
}

TEST(DemoOptions, MistakesNameTheOption) {
    std::string fiftyOne = "0"; // vertices
    for (int i = 1; i < 102; ++i)
        fiftyOne += ",0";
    EXPECT_EQ(ParseDemoOptions({"--vertices", fiftyOne.substr(4)}).error, "");
    const struct {
        std::vector<std::string> args;
        const char *szError;
    } cases[] = {
        {{"--mode", "circle"}, "--mode: 'circle'"},
        {{"--mode"}, "--mode needs a value"},
        {{"--rect", "1,2,3"}, "--rect: '1,2,3'"},
        {{"--rect", "5,2,3,4"}, "--rect: '5,2,3,4'"},
        {{"--step-delay", "fast"}, "--step-delay: 'fast'"},
        {{"--repeat=yes"}, "--repeat takes no value"},
        {{"--rubber-edge=on"}, "--rubber-edge takes no value"},
        {{"--snap=8"}, "--snap takes no value"},
        {{"--loupe=8"}, "--loupe takes no value"},
        {{"--elements=on"}, "--elements takes no value"},
        {{"--out="}, "--out needs a value"},
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"--ratio", "16/9"}, "--ratio: '16/9'"},
        {{"--ratio", "0:9"}, "--ratio: '0:9'"},
        {{"--ratio", "10001:1"}, "--ratio: '10001:1'"},
        {{"--ratio", "-16:9"}, "--ratio: '-16:9'"},
        {{"--fixed", "640x"}, "--fixed: '640x'"},
        {{"--fixed", "32768x1"}, "--fixed: '32768x1'"},
        {{"--fixed", "640x360x2"}, "--fixed: '640x360x2'"},
        {{"--vertices", "1,2,3,4"}, "--vertices: '1,2,3,4'"},
        {{"--vertices", "1,2,3,4,5,6,"}, "--vertices: '1,2,3,4,5,6,'"},
        {{"--vertices", fiftyOne}, "--vertices: '0,0,0"},
        {{"--last-region=1"}, "--last-region takes no value"},
        {{"--no-adjust", "--last-region"}, "--last-region: a starting region needs --adjust"},
        {{"--vertices=1,1,5,1,3,4", "--no-adjust"}, "--vertices: a starting region needs"},
    };
    for (const auto &c : cases) {
        const std::string error = ParseDemoOptions(c.args).error;
        EXPECT_EQ(error.rfind(c.szError, 0), 0u) << "got \"" << error << "\"";
    }
}

TEST(DemoOptions, PathsAreJoinedWithTheFoldersOwnSeparator) {
    EXPECT_EQ(JoinPath("/tmp/out", "a.png"), "/tmp/out/a.png");
    EXPECT_EQ(JoinPath("C:\\out", "a.png"), "C:\\out\\a.png");
    EXPECT_EQ(JoinPath("out", "a.png"), "out\\a.png");
    EXPECT_EQ(JoinPath("out/", "a.png"), "out/a.png");
}

} // namespace
