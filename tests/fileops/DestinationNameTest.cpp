// The destination path of one copied or moved item: under a directory, as a
// new name, or made by a wildcard mask, from a name or a full source path.
#include "fileops/CopyCommand.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/base/os/OsTestSupport.h"
#include "tests/support/TempDir.h"

namespace {

// Whole, with any NUL a fault put inside the name.
std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return std::string(out.Data(), static_cast<size_t>(out.Length()));
}

TEST(BuildDestinationNameTest, DirectoriesNamesAndMasks) {
    qvtest::TempDir dir;
    const std::string base = qvtest::U8(dir.Path());
    ASSERT_TRUE(qvtest::WriteFileBytes(dir.Join(qvtest::W("exists.txt")), "x"));
    ASSERT_TRUE(CreateDirectoryW(dir.Join(qvtest::W("dst")).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(dir.Join(qvtest::W("report.txt")).c_str(), nullptr));
    // "@" stands for the temporary folder (which exists; "X:" need not).
    struct Case {
        const char* source;
        const char* destination;
        const char* result;
    } cases[] = {
        // An existing directory takes the source's name below it.
        {"report.txt", "@\\dst", "@\\dst\\report.txt"},
        // Only the source's last component counts.
        {"C:\\from\\deep\\report.txt", "@\\dst", "@\\dst\\report.txt"},
        // A trailing separator makes a directory whether or not it exists.
        {"report.txt", "@\\dst\\", "@\\dst\\report.txt"},
        {"report.txt", "@\\dst/", "@\\dst\\report.txt"},
        {"report.txt", "X:\\none\\", "X:\\none\\report.txt"},
        {"report.txt", "X:\\", "X:\\report.txt"},
        // Anything but an existing directory is the new name itself.
        {"report.txt", "@\\new.txt", "@\\new.txt"},
        {"report.txt", "@\\exists.txt", "@\\exists.txt"},
        {"report.txt", "X:\\none\\new.txt", "X:\\none\\new.txt"},
        // A directory of the source's own name is the source merged, not a
        // place to put a second level of that name.
        {"report.txt", "@\\report.txt", "@\\report.txt"},
        {"@\\report.txt", "@\\report.txt", "@\\report.txt"},
        // Names that differ only in case name other files here.
        {"DST", "@\\dst", "@\\dst\\DST"},
        // A mask in the last component makes the name from the source's.
        {"report.txt", "@\\dst\\*.bak", "@\\dst\\report.bak"},
        {"C:\\from\\report.txt", "@\\dst\\*.bak", "@\\dst\\report.bak"},
        {"report.txt", "X:\\*.bak", "X:\\report.bak"},
        {"report.txt", "X:\\old_?????.*", "X:\\old_repor.txt"},
        {"report.txt", "@\\dst\\*.bak\\", "@\\dst\\report.bak"},
        // Masks without "*": each "?" takes one character of the source, a
        // "." skips to the source's extension, other characters stand as
        // they are (the source position stays).
        {"report.txt", "X:\\??.bak", "X:\\re.bak"},
        {"report", "X:\\??.bak", "X:\\re.bak"},
        {"report.txt", "@\\dst\\??.bak", "@\\dst\\re.bak"},
        {"report.txt", "@\\dst\\??.bak\\", "@\\dst\\re.bak"},
        {"abc.txt", "X:\\a?c.txt", "X:\\aac.txt"},
        {"xyz.doc", "X:\\a?c.txt", "X:\\axc.txt"},
        {"notes.txt", "X:\\old_?????.*", "X:\\old_notes.txt"},
        // More "?" than the source has characters take nothing past its end.
        {"x", "X:\\??.b", "X:\\x.b"},
        {"a.b.c", "X:\\*", "X:\\a"},
    };
    for (const Case& c : cases) {
        auto expand = [&](std::string text) {
            for (size_t at = text.find('@'); at != std::string::npos; at = text.find('@')) {
                text.replace(at, 1, base);
            }
            return text;
        };
        Westring out("stale");
        BuildDestinationName(Westring(expand(c.source).c_str()), Westring(expand(c.destination).c_str()), out);
        EXPECT_EQ(expand(c.result), Utf8(out)) << c.source << " to " << c.destination;
    }
}

// A mask may grow the name without end; the result is cut at 2048 characters.
TEST(BuildDestinationNameTest, AMaskedNameIsCutAt2048Characters) {
    const std::string mask = "*" + std::string(3000, 'm');
    Westring out;
    BuildDestinationName(Westring("name.txt"), Westring(("X:\\dir\\" + mask).c_str()), out);
    const std::string text = Utf8(out);
    ASSERT_EQ(std::string("X:\\dir\\").size() + 2048, text.size());
    EXPECT_EQ("X:\\dir\\name" + std::string(2044, 'm'), text);
}

}  // namespace
