// The error table, the automatic skip into the skip list, and the columns of
// the " Copy Failures " window.
#include "fileops/FileErrors.h"

#include <gtest/gtest.h>

#include "app/panels/Panel.h"
#include "fileops/CopyFailures.h"
#include "tests/app/panels/TestPanelPair.h"

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

TEST(FileErrorsTest, TableGivesTextButtonsAndPath) {
    struct Case {
        int code;
        const char* text;
        bool retryable;
        bool destination;
    } cases[] = {
        {2, "File not found", false, false},     {3, "Path not found", false, true},
        {5, "Access Denied", true, false},       {23, "Error reading disk", true, false},
        {27, "Error reading disk", true, false}, {32, "Sharing violation", true, false},
        {112, "No room for", true, false},       {123, "Invalid name", false, false},
        {206, "Name too long", false, true},
    };
    for (const Case& c : cases) {
        TFileErrorText error = DescribeFileError(c.code);
        EXPECT_EQ(c.text, Utf8(error.text)) << c.code;
        EXPECT_EQ(c.retryable, error.retryable) << c.code;
        EXPECT_EQ(c.destination, error.showsDestination) << c.code;
    }
    // Outside the table: the system's text with the code, and Retry offered.
    TFileErrorText other = DescribeFileError(87);
    EXPECT_NE(std::string::npos, Utf8(other.text).find(" (87)")) << Utf8(other.text);
    EXPECT_TRUE(other.retryable);
}

TEST(FileErrorsTest, SkipOnErrorRecordsRetryableErrorsWithoutAsking) {
    paneltest::TestPanelPair panels;
    ActiveSide = 0;
    CopyPanelText(panels[0].path, Westring("C:\\work"));
    SkippedCopies().FreeAll();

    int code = 32;
    int stop = 0;
    ReportFileError(code, stop, U"C:\\work\\sub\\a.txt", U"D:\\a.txt", CopyOptionSkipOnError);
    EXPECT_EQ(32, code);
    EXPECT_EQ(1, stop);
    code = 5;
    ReportFileError(code, stop, U"C:\\workshop\\b.txt", nullptr, CopyOptionSkipOnError);
    EXPECT_EQ(5, code);

    ASSERT_EQ(2, SkippedCopies().Count());
    // In or below the active panel's directory: relative; a sibling whose
    // name only begins the same way keeps its full path.
    EXPECT_EQ("sub\\a.txt", Utf8(SkippedCopies().At(0)->name));
    EXPECT_EQ("Sharing violation", Utf8(SkippedCopies().At(0)->reason));
    EXPECT_EQ("C:\\workshop\\b.txt", Utf8(SkippedCopies().At(1)->name));
    EXPECT_EQ("Access Denied", Utf8(SkippedCopies().At(1)->reason));
    SkippedCopies().FreeAll();
}

TEST(CopyFailuresTest, ColumnsFitTheScreen) {
    CSkippedCopyList list;
    int name = 0;
    int reason = 0;
    CopyFailureColumns(list, 80, name, reason);
    EXPECT_EQ(1, name);
    EXPECT_EQ(1, reason);

    list.Append(Westring("short.txt"), Westring("Access Denied"));
    CopyFailureColumns(list, 80, name, reason);
    EXPECT_EQ(9, name);
    EXPECT_EQ(13, reason);

    // Too wide together: the name is cut to half the room (74 / 2) and the
    // reason takes what is left, so a row is exactly the room plus ": ".
    list.Append(RepeatChar32('n', 100), Westring("Sharing violation"));
    CopyFailureColumns(list, 80, name, reason);
    EXPECT_EQ(37, name);
    EXPECT_EQ(37, reason);
    EXPECT_EQ(76, FormatCopyFailureRow(*list.At(1), name, reason).Length());
    EXPECT_EQ("short.txt" + std::string(28, ' ') + ": Access Denied" + std::string(24, ' '),
              Utf8(FormatCopyFailureRow(*list.At(0), name, reason)));

    // A long reason beside a short name keeps the name whole.
    CSkippedCopyList longReason;
    longReason.Append(Westring("a"), RepeatChar32('r', 200));
    CopyFailureColumns(longReason, 80, name, reason);
    EXPECT_EQ(1, name);
    EXPECT_EQ(73, reason);
}

}  // namespace
