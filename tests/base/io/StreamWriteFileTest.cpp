#include "base/io/StreamWriteFile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(CStreamWriteFileTest, WritesTheFile) {
    qvtest::TempDir dir;
    const qvtest::WString path = dir.Join(qvtest::W("out.txt"));
    {
        CStreamWriteFile stream{Westring(path.c_str())};
        EXPECT_TRUE(stream.Write("hello ", 6));
        EXPECT_TRUE(stream.Write("world\n", 6));
        EXPECT_TRUE(stream.Write(std::string(10000, 'z').c_str(), 10000));
        // Others may read the file while it is being written.
        EXPECT_TRUE(stream.Finish());
        EXPECT_EQ(stream.GetError()->category, TStreamError::kNone);
    }
    EXPECT_EQ(qvtest::ReadFileBytes(path), "hello world\n" + std::string(10000, 'z'));
}

TEST(CStreamWriteFileTest, OpenFailureShowsAtTheFirstWrite) {
    qvtest::TempDir dir;
    const qvtest::WString path = dir.Join(qvtest::W("missing\\out.txt"));
    CStreamWriteFile stream{Westring(path.c_str())};
    EXPECT_FALSE(stream.Write("x", 1));
    const TStreamError* error = stream.GetError();
    EXPECT_EQ(error->category, TStreamError::kSystem);
    EXPECT_EQ(error->code, ERROR_PATH_NOT_FOUND);
    EXPECT_STREQ(error->text.Data(), FormatSystemErrorA(ERROR_PATH_NOT_FOUND).Data());
}

}  // namespace
