#include "base/io/EError.h"

#include "base/io/StdFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The text as UTF-8, for readable comparisons.
std::string Utf8(const Westring& text) {
    return Estring(text).Data();
}

TEST(EErrorTest, CarriesItsMessage) {
    try {
        throw EError(Westring("Unexpected end of script"));
    } catch (const EError& e) {
        EXPECT_EQ(Utf8(e.GetText()), "Unexpected end of script");
    }
}

TEST(EErrorTest, FileErrorNamesTheFileAndTheSystemsText) {
    qvtest::TempDir dir;
    // A folder cannot be opened as a file: access denied.
    StdFile file(Westring(dir.Path().c_str()), StdFile::ModeRead);
    ASSERT_EQ(file.LastError(), static_cast<uint32_t>(ERROR_ACCESS_DENIED));
    const std::string systemText = FormatSystemErrorA(ERROR_ACCESS_DENIED).Data();
    ASSERT_GE(systemText.size(), 5u);
    EXPECT_EQ(systemText.substr(systemText.size() - 4), " (5)");
    try {
        throw EFileError(file, Westring("Cannot read"));
    } catch (const EError& e) {
        // Caught through the base, the text is still the file error's.
        EXPECT_EQ(Utf8(e.GetText()), "Cannot read: " + qvtest::U8(dir.Path()) + ": " + systemText);
    }
}

}  // namespace
