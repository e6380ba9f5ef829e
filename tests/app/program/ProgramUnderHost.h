// The real program under the scripted host for the end-to-end tests of the
// configuration dialogs, pickers and console control: a folder of its own
// mapped as drive T:, holding the data folder (APPDATA) and a work folder that
// both panels start in.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "host/ScriptedHost.h"
#include "console/KeyCodes.h"

namespace qvtest {

class ProgramUnderHost : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/qv-config-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        ASSERT_EQ(mkdir((root + "/appdata").c_str(), 0700), 0);
        ASSERT_EQ(mkdir((root + "/work").c_str(), 0700), 0);
    }
    void TearDown() override {
        host.reset();
        std::string command = "rm -rf '" + root + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    // Starts the program with "[General Options]" lines of an ini file of its
    // own (none when empty) and waits for the main loop's first pass.
    void Start(const std::string& iniLines = "", const std::map<std::string, std::string>& env = {}) {
        qvhost::ScriptedHost::Options options;
        options.env = env;
        options.env["APPDATA"] = "T:\\appdata";
        options.env["QUORVANE_DRIVES"] = "C=/;T=" + root;
        options.env["TZ"] = "UTC";
        options.args = {"-l", "T:\\work", "-r", "T:\\work"};
        if (!iniLines.empty()) {
            Write("test.ini", "[General Options]\r\n" + iniLines);
            options.args.push_back("T:\\test.ini");
        }
        host.reset(new qvhost::ScriptedHost(options));
        ASSERT_TRUE(host->Started());
        ASSERT_TRUE(host->WaitFor([](const qvhost::ScreenModel& s) {
            return s.RowText(s.Rows() - 1).find("10Quit") != std::string::npos &&
                   s.RowText(s.Rows() - 2).find(">") != std::string::npos;
        })) << host->ScreenText();
    }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(root + "/" + name, std::ios::binary);
        out << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(root + "/" + name, std::ios::binary);
        std::stringstream data;
        data << in.rdbuf();
        return data.str();
    }
    void MakeFolder(const std::string& name) const { ASSERT_EQ(mkdir((root + "/" + name).c_str(), 0700), 0); }

    bool Shows(const std::string& text) { return host->WaitForText(text, 5000); }
    bool Gone(const std::string& text) {
        return host->WaitFor([&](const qvhost::ScreenModel& s) { return s.Dump().find(text) == std::string::npos; },
                             5000);
    }
    // The command-line prompt names the active panel's directory.
    bool PromptIs(const std::string& directory) {
        return host->WaitFor(
            [&](const qvhost::ScreenModel& s) { return s.RowText(s.Rows() - 2).rfind(directory + ">", 0) == 0; },
            5000);
    }
    // Types a line on the command line and enters it; the program does not
    // run commands and says so, which Enter takes away.
    void EnterCommand(const std::string& command) {
        host->SendText(command);
        host->SendKey(KEY_ENTER, KEY_ENTER);
        ASSERT_TRUE(Shows("not available yet")) << host->ScreenText();
        host->SendKey(KEY_ENTER, KEY_ENTER);
        ASSERT_TRUE(Gone("not available yet"));
    }

    std::string root;
    std::unique_ptr<qvhost::ScriptedHost> host;
};

}  // namespace qvtest
