#include "ui/HelpFile.h"

#include <gtest/gtest.h>

#include <string>

#include "base/strings/Estring.h"
#include "tests/support/TempDir.h"
#include "tests/ui/HelpFileBytes.h"

namespace {

using qvtest::HelpFileBytes;
using qvtest::HelpSectionBytes;
using qvtest::THelpSection;

class HelpFileTest : public ::testing::Test {
protected:
    ~HelpFileTest() override { UnloadHelpFile(); }

    bool Load(const std::string& bytes) {
        qvtest::WString path = dir.Join(qvtest::W("help.qvh"));
        EXPECT_TRUE(qvtest::WriteFileBytes(path, bytes));
        return LoadHelpFile(Westring(path.c_str()));
    }

    // The lines of a section joined with '|', as UTF-8.
    std::string Page(int id) {
        WestringStore lines;
        EXPECT_TRUE(GetHelpSectionLines(id, lines));
        std::string joined;
        for (int i = 0; i < lines.Count(); i++) {
            Estring utf8;
            lines.At(i)->ToUtf8(utf8);
            joined += (i ? "|" : "") + std::string(utf8.Data());
        }
        return joined;
    }

    qvtest::TempDir dir;
};

TEST_F(HelpFileTest, FindsSectionsAndFallsBackToTheEndSection) {
    ASSERT_TRUE(Load(HelpFileBytes({
        {0, {"Index", "", "see 3"}},
        {3, {"Editor keys", "\x82t\x82"}},  // code page 850: e acute
        {30000, {"No help for this topic"}},
    })));
    EXPECT_TRUE(IsHelpLoaded());
    EXPECT_EQ("Index||see 3", Page(0));
    EXPECT_EQ("Editor keys|\xC3\xA9t\xC3\xA9", Page(3));
    EXPECT_EQ("No help for this topic", Page(8));
    EXPECT_EQ("No help for this topic", Page(-1));
}

TEST_F(HelpFileTest, MissingOrEmptyFileLoadsNothing) {
    WestringStore lines;
    lines.Add(new Westring("kept?"));
    EXPECT_FALSE(LoadHelpFile(Westring(dir.Join(qvtest::W("none.qvh")).c_str())));
    EXPECT_FALSE(IsHelpLoaded());
    EXPECT_FALSE(GetHelpSectionLines(0, lines));
    EXPECT_EQ(0, lines.Count());
    EXPECT_FALSE(Load(""));
    EXPECT_FALSE(IsHelpLoaded());
}

TEST_F(HelpFileTest, BrokenLengthsStayInsideTheBuffer) {
    // A section that claims more bytes than the file has ends with the file,
    // and its last line may lack its terminator.
    std::string truncated = HelpSectionBytes({1, {"one"}});
    truncated += std::string("\x05\x00\x00\x10", 4) + "tail";
    ASSERT_TRUE(Load(truncated));
    EXPECT_EQ("tail", Page(5));

    // A length below the head ends the walk: nothing after it is reached.
    std::string shortHead =
        HelpSectionBytes({1, {"one"}}) + std::string("\x02\x00\x02\x00", 4) + HelpSectionBytes({30000, {"end"}});
    ASSERT_TRUE(Load(shortHead));
    EXPECT_EQ("one", Page(1));
    EXPECT_EQ("", Page(7));

    // So does a negative length, and a head cut by the end of the file.
    ASSERT_TRUE(Load(std::string("\x01\x00\xF0\xFF", 4) + "xx"));
    EXPECT_EQ("", Page(1));
    ASSERT_TRUE(Load(HelpSectionBytes({1, {"one"}}) + std::string("\x02\x00", 2)));
    EXPECT_EQ("", Page(2));
    EXPECT_EQ("one", Page(1));
}

}  // namespace
