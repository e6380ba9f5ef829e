// The help file the build makes, read back: a page for every number the
// screens ask for, each number once, the end page last.
#include "ui/HelpTopics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "base/strings/Estring.h"
#include "tests/support/TempDir.h"
#include "ui/HelpFile.h"

namespace {

std::string BuiltHelpFile() {
    std::ifstream in(QV_BUILT_HELP_FILE, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The section ids in file order, walking the length chain; fails the test
// on a chain that does not end exactly at the end of the file.
std::vector<int> SectionIds(const std::string& bytes) {
    std::vector<int> ids;
    size_t position = 0;
    while (position + 4 <= bytes.size()) {
        auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[position + i]); };
        int id = static_cast<int16_t>(byte(0) | byte(1) << 8);
        int length = static_cast<int16_t>(byte(2) | byte(3) << 8);
        EXPECT_GE(length, 4) << "section " << id;
        if (length < 4) {
            break;
        }
        ids.push_back(id);
        position += static_cast<size_t>(length);
    }
    EXPECT_EQ(bytes.size(), position) << "the chain ends at the end of the file";
    return ids;
}

std::string FirstLine(int id) {
    WestringStore lines;
    EXPECT_TRUE(GetHelpSectionLines(id, lines));
    if (lines.Count() == 0) {
        return std::string();
    }
    Estring utf8;
    lines.At(0)->ToUtf8(utf8);
    return utf8.Data();
}

TEST(HelpTopicsTest, TheBuiltFileHasAPageForEveryTopicOnce) {
    std::string bytes = BuiltHelpFile();
    ASSERT_FALSE(bytes.empty()) << "the build writes " << QV_BUILT_HELP_FILE;
    std::vector<int> ids = SectionIds(bytes);
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(HelpEndSection, ids.back());
    EXPECT_EQ(ids.size(), std::set<int>(ids.begin(), ids.end()).size()) << "section ids are unique";

    std::set<int> topics(HelpTopics, HelpTopics + HelpTopicCount);
    EXPECT_EQ(static_cast<size_t>(HelpTopicCount), topics.size()) << "topic numbers are unique";
    for (int topic : topics) {
        EXPECT_NE(ids.end(), std::find(ids.begin(), ids.end(), topic)) << "no page for topic " << topic;
    }

    // The loader finds each page, not the end page in its place.
    qvtest::TempDir dir;
    qvtest::WString path = dir.Join(qvtest::W("quorvane.qvh"));
    ASSERT_TRUE(qvtest::WriteFileBytes(path, bytes));
    ASSERT_TRUE(LoadHelpFile(Westring(path.c_str())));
    std::string endPage = FirstLine(HelpEndSection);
    EXPECT_FALSE(endPage.empty());
    for (int topic : topics) {
        std::string first = FirstLine(topic);
        EXPECT_FALSE(first.empty()) << "topic " << topic;
        EXPECT_NE(endPage, first) << "topic " << topic;
    }
    EXPECT_EQ(endPage, FirstLine(HelpTopicMenus + HelpTopicMenuPages));
    UnloadHelpFile();
}

}  // namespace
