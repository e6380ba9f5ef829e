#include "host/ScriptedHost.h"

#include <gtest/gtest.h>

using qvhost::ScriptedHost;

TEST(Greeting, GreetsTheHostAndEndsOnAKey) {
    ScriptedHost::Options options;
    options.columns = 100;
    options.rows = 30;
    ScriptedHost host(options);
    ASSERT_TRUE(host.Started());
    ASSERT_TRUE(host.WaitForText("Quorvane")) << host.ScreenText();
    // The text is centred in the size the host reported.
    qvhost::ScreenModel screen = host.Snapshot();
    bool centred = false;
    for (int y = 0; y < screen.Rows(); ++y) {
        if (screen.RowText(y).find("Press any key to leave.") == 38) {
            centred = true;
        }
    }
    EXPECT_TRUE(centred) << host.ScreenText();
    host.SendKey(' ', ' ');
    EXPECT_EQ(host.WaitExit(), 0);
}

TEST(Greeting, EndsWhenTheHostClosesItsInput) {
    ScriptedHost host(ScriptedHost::Options{});
    ASSERT_TRUE(host.WaitForText("Quorvane"));
    host.CloseInput();
    EXPECT_EQ(host.WaitExit(), 0);
}
