// The file-mask function %search over the text search that file operations
// install.
#include "fileops/FileContainsText.h"

#include <gtest/gtest.h>

#include "base/mask/MaskExpression.h"
#include "tests/base/os/OsTestSupport.h"
#include "tests/support/TempDir.h"

using qvtest::W;
using qvtest::WriteFileBytes;

namespace {

struct TEntryHolder {
    TEntryHolder(const char* name, uint64_t size) {
        Westring wide(name);
        item = entry::Allocate(wide.Length());
        Mem32Copy(item->name, wide.Data(), wide.Length() + 1);
        item->size = size;
        item->attributes = 0;
        item->matchOffset = -1;
    }
    ~TEntryHolder() { entry::Free(item); }
    TEntryHolder(const TEntryHolder&) = delete;
    TEntryHolder& operator=(const TEntryHolder&) = delete;
    entry* item;
};

class MaskFileTest : public ::testing::Test {
protected:
    void SetUp() override { InstallMaskTextSearch(); }
    Westring Directory() { return qvtest::ToWestring(dir.Path()); }
    qvtest::TempDir dir;
};

TEST_F(MaskFileTest, SearchLooksIntoTheFileOfTheEntry) {
    ASSERT_TRUE(WriteFileBytes(dir.Join(W("greeting.txt")), "Say Hello World, worldwide\n"));
    TEntryHolder holder("greeting.txt", 27);
    struct {
        const char* mask;
        int expected;
        int64_t offset;
    } cases[] = {
        {"%search(world)", 1, 10},
        {"%search(world, c)", 1, 17},
        {"%search(WORLD, c)", 0, -2},
        {"%search(worldwide, w)", 1, 17},
        {"%search(world, cw)", 0, -2},
        {"%search(\"Hello World\")", 1, 4},
        {"%search(\"say \"\"hi\"\"\")", 0, -2},
        {"*.txt & %search(hello)", 1, 4},
        {"*.doc & %search(hello)", 0, -2},
        // A first operand that settles its chain spares the content search;
        // later operands are all evaluated.
        {"*.txt | %search(hello)", 1, -2},
        {"*.doc | *.txt | %search(hello)", 1, 4},
    };
    MaskExpression mask;
    for (const auto& c : cases) {
        EXPECT_EQ(c.expected, mask.Match(Westring(c.mask), Directory(), holder.item)) << c.mask;
        EXPECT_EQ(c.offset, mask.SearchOffset()) << c.mask;
    }
    mask.Match(Westring("%search(hello)"), Directory(), holder.item);
    EXPECT_EQ(5, mask.SearchLength());

    TEntryHolder missing("missing.txt", 0);
    EXPECT_EQ(0, mask.Match(Westring("%search(x)"), Directory(), missing.item));
}

}  // namespace
