// The file information dialog's size: from its rows and path, within the
// screen.
#include <gtest/gtest.h>

#include <string>

#include "fileops/FileInfoDialog.h"

namespace {

TEST(FileInfoDialogSize, WidthFromLabelsValuesAndPath) {
    CFileInfoItems rows;
    rows.Add("Size", Westring("1,234"));               // label 4, value 5
    rows.Add("Last Written", Westring("2024-01-02"));  // label 12, value 10
    // 12 + 10 + 2 = 24, the path shorter: 28.
    EXPECT_EQ(28, CFileInfoDlgWidth(Westring("C:\\a.txt"), rows, 80));
    // A path longer than the columns sets the width.
    EXPECT_EQ(36, CFileInfoDlgWidth(Westring("C:\\a rather long folder\\name.txt"), rows, 80));
    // Too wide for the screen: the screen less 3, never more.
    std::string longPath = "C:\\" + std::string(200, 'p');
    EXPECT_EQ(77, CFileInfoDlgWidth(Westring(longPath.c_str()), rows, 80));
    // 74 + 4 = 78 is not below 78: cut to 77.
    std::string edge = "C:\\" + std::string(71, 'e');
    EXPECT_EQ(77, CFileInfoDlgWidth(Westring(edge.c_str()), rows, 80));
    std::string fits = "C:\\" + std::string(70, 'f');
    EXPECT_EQ(77, CFileInfoDlgWidth(Westring(fits.c_str()), rows, 80));
    std::string smaller = "C:\\" + std::string(69, 's');
    EXPECT_EQ(76, CFileInfoDlgWidth(Westring(smaller.c_str()), rows, 80));
    rows.Add("Alternate Stream", Westring(std::string(300, 'v').c_str()));
    EXPECT_EQ(97, CFileInfoDlgWidth(Westring("C:\\a.txt"), rows, 100));
}

TEST(FileInfoDialogSize, WithoutRowsAndHeights) {
    CFileInfoItems none;
    EXPECT_EQ(6, CFileInfoDlgWidth(Westring(""), none, 80));  // 2 + 4
    EXPECT_EQ(12, CFileInfoDlgWidth(Westring("C:\\x.txt"), none, 80));
    EXPECT_EQ(6, CFileInfoDlgHeight(none));
    CFileInfoItems three;
    three.Add("Size", Westring("1"));
    three.Add("Created", Westring("2"));
    three.Add("Attributes", Westring("A"));
    EXPECT_EQ(9, CFileInfoDlgHeight(three));
}

}  // namespace
