// The " Compress Files " dialog: the archive name's extension follows the
// archiver chosen, and a single-file compressor keeps the file's own.
#include <gtest/gtest.h>

#include <string>

#include "archive/ArchiveCommands.h"
#include "tests/ui/UiConsole.h"

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

class MakeArchiveDialogTest : public qvtest::UiConsole {};

TEST_F(MakeArchiveDialogTest, TheExtensionFollowsTheArchiver) {
    struct Case {
        const char* name;
        std::vector<int> archivers;  // the first when the dialog opens, then each change
        std::vector<const char*> names;
    } cases[] = {
        {"T:\\w\\report.txt", {0, 6, 0}, {"T:\\w\\report.zip", "T:\\w\\report.txt.gz", "T:\\w\\report.zip"}},
        {"T:\\w\\report.txt", {6, 9, 11}, {"T:\\w\\report.txt.gz", "T:\\w\\report.txt.bz2", "T:\\w\\report.tar.gz"}},
        {"T:\\w\\report.txt", {11, 8}, {"T:\\w\\report.tar.gz", "T:\\w\\report.7z"}},
        {"README", {0, 6, 7}, {"README.zip", "README.gz", "README.tar"}},
        {".profile", {0, 10}, {".profile.zip", ".profile.xz"}},
        {"a.b\\archive", {0}, {"a.b\\archive.zip"}},
    };
    for (const Case& c : cases) {
        Westring name(c.name);
        int32_t index = c.archivers[0];
        CMakeArchiveDlg dialog(name, &index);
        EXPECT_EQ(c.names[0], Utf8(name)) << c.name;
        for (size_t i = 1; i < c.archivers.size(); i++) {
            index = c.archivers[i];
            OnArchiverChanged(dialog);
            EXPECT_EQ(c.names[i], Utf8(name)) << c.name << " to " << c.archivers[i];
        }
        // Nothing changes while the archiver stays.
        OnArchiverChanged(dialog);
        EXPECT_EQ(c.names.back(), Utf8(name)) << c.name;
    }
}

TEST_F(MakeArchiveDialogTest, AHotLetterChoosesTheArchiverAndTheNameFollows) {
    Westring name("T:\\w\\report.txt");
    int32_t index = 0;
    CMakeArchiveDlg dialog(name, &index);
    Key(KeyAltLetter('g'), 'g', SHIFT_ALT);  // GZIP
    Key(KEY_ENTER, 13);
    EXPECT_EQ(13, dialog.Run());
    EXPECT_EQ(6, index);
    EXPECT_EQ("T:\\w\\report.txt.gz", Utf8(name));
    bool shown = false;
    for (int y = 0; y < 25 && !shown; y++)
        shown = Row(y).find("report.txt.gz") != std::string::npos;
    EXPECT_TRUE(shown);
}

}  // namespace
