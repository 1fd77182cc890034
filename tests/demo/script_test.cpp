// The demo's script reader: what each step becomes, and which line a mistake is blamed on.
#include "script.h"

#include <gtest/gtest.h>

namespace {

TEST(DemoScript, EveryKindOfStepIsReadWithItsValues) {
    const ParsedScript script = ParseScript("# a gesture\n"
                                            "move 10 -20\n"
                                            "\n"
                                            "press\n"
                                            "  release right   # trailing comment\r\n"
                                            "PRESS Right\n"
                                            "key Enter\n"
                                            "key a\n"
                                            "wait 250\n"
                                            "hold Shift\n"
                                            "letgo control\n"
                                            "key ctrl\n"
                                            "key PageUp\n"
                                            "key pagedown\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.steps.size(), 12u);
    EXPECT_EQ(script.steps[0].kind, ScriptStep::Move);
    EXPECT_EQ(script.steps[0].x, 10);
    EXPECT_EQ(script.steps[0].y, -20);
    EXPECT_EQ(script.steps[0].nLine, 2);
    EXPECT_EQ(script.steps[1].kind, ScriptStep::Press);
    EXPECT_FALSE(script.steps[1].bRight);
    EXPECT_EQ(script.steps[2].kind, ScriptStep::Release);
    EXPECT_TRUE(script.steps[2].bRight);
    EXPECT_EQ(script.steps[2].nLine, 5);
    EXPECT_TRUE(script.steps[3].bRight);
    EXPECT_EQ(script.steps[4].nVk, 0x0D);
    EXPECT_EQ(script.steps[5].nVk, 'A');
    EXPECT_EQ(script.steps[6].kind, ScriptStep::Wait);
    EXPECT_EQ(script.steps[6].nMilliseconds, 250);
    EXPECT_EQ(script.steps[7].kind, ScriptStep::Hold);
    EXPECT_EQ(script.steps[7].nVk, 0x10);
    EXPECT_EQ(script.steps[8].kind, ScriptStep::LetGo);
    EXPECT_EQ(script.steps[8].nVk, 0x11);
    EXPECT_EQ(script.steps[9].nVk, 0x11);
    EXPECT_EQ(script.steps[10].nVk, 0x21); // VK_PRIOR
    EXPECT_EQ(script.steps[11].nVk, 0x22); // VK_NEXT
}

// Editors that save UTF-8 may start the file with a byte-order mark: the first step still counts.
TEST(DemoScript, AByteOrderMarkBeforeTheFirstLineIsSkipped) {
    const ParsedScript script = ParseScript("\xEF\xBB\xBFmove 3 4\r\npress\r\n");
    ASSERT_EQ(script.error, "");
    ASSERT_EQ(script.steps.size(), 2u);
    EXPECT_EQ(script.steps[0].kind, ScriptStep::Move);
    EXPECT_EQ(script.steps[0].nLine, 1);
    EXPECT_EQ(script.steps[0].text, "move 3 4");
}

TEST(DemoScript, EmptyTextIsAnEmptyScript) {
    const ParsedScript script = ParseScript("\n# nothing\n   \n");
    EXPECT_EQ(script.error, "");
    EXPECT_TRUE(script.steps.empty());
}

// A malformed line stops the reading; the message names the line and what is wrong with it.
TEST(DemoScript, MalformedLinesAreNamedWithTheirNumber) {
    const struct {
        const char *szText;
        const char *szError;
    } cases[] = {
        {"mvoe 1 2", "line 1: unknown step 'mvoe'"},
        {"move 1", "line 1: move needs two whole numbers"},
        {"move 1 2 3", "line 1: move needs two whole numbers"},
        {"move 1 2x", "line 1: move needs two whole numbers"},
        {"move 99999 2", "line 1: move needs two whole numbers"},
        {"move 1 2\npress middle", "line 2: press takes left or right"},
        {"release left right", "line 1: release takes left or right"},
        {"\n\nkey", "line 3: key needs one key name"},
        {"key alt", "line 1: unknown key 'alt'"},
        {"hold", "line 1: hold needs one key name"},
        {"letgo shift ctrl", "line 1: letgo needs one key name"},
        {"hold shfit", "line 1: unknown key 'shfit'"},
        {"key ab", "line 1: unknown key 'ab'"},
        {"wait -1", "line 1: wait needs milliseconds"},
        {"wait 60001", "line 1: wait needs milliseconds"},
        {"wait soon", "line 1: wait needs milliseconds"},
        // Only the file's first bytes may be a byte-order mark.
        {"move 1 2\n\xEF\xBB\xBFpress", "line 2: unknown step '\xEF\xBB\xBFpress'"},
    };
    for (const auto &c : cases) {
        const ParsedScript script = ParseScript(c.szText);
        EXPECT_EQ(script.error.rfind(c.szError, 0), 0u)
            << "for \"" << c.szText << "\" got \"" << script.error << "\"";
        EXPECT_TRUE(script.steps.empty()) << c.szText;
    }
}

} // namespace
