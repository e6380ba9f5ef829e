// The help viewer over the help file the build ships: a page number without
// a page shows the end page, and F1 there the index.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/ProgramTest.h"
#include "ui/HelpTopics.h"

namespace qvtest {
namespace {

class HelpTextE2E : public ProgramTest {};

TEST_F(HelpTextE2E, APageNumberWithoutAPageShowsTheEndPage) {
    std::ifstream in(QV_BUILT_HELP_FILE, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty()) << QV_BUILT_HELP_FILE;
    Write("shipped.qvh", bytes);
    // The first number after the menu pages has no page.
    ScriptedHost& shown = Launch(ProbeOptions(
        "qv_prompts_probe", {"help", "T:\\shipped.qvh", std::to_string(HelpTopicMenus + HelpTopicMenuPages)}));
    ASSERT_TRUE(shown.WaitForText("There is no help page for this place yet.")) << shown.ScreenText();
    shown.PressKey("F1");
    ASSERT_TRUE(shown.WaitForText("Quorvane help: the index")) << shown.ScreenText();
    shown.PressKey("Esc");
    ASSERT_TRUE(shown.WaitForTextGone("Quorvane help: the index"));
    shown.PressKey("Esc");
    ASSERT_TRUE(shown.WaitForText("closed")) << shown.ScreenText();
    shown.SendText("x");
    EXPECT_EQ(0, shown.WaitExit());
}

}  // namespace
}  // namespace qvtest
