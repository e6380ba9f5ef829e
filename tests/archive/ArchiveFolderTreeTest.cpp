// The folder tree of an archive for a panel's tree view: one node per folder,
// whether or not the archive has a member for it.
#include <gtest/gtest.h>

#include <string>

#include "app/panels/Tree.h"
#include "archive/ArchiveCommands.h"
#include "tests/archive/ArchiveTestSupport.h"

namespace {

std::string Utf8(const Westring& text) {
    Estring out;
    text.ToUtf8(out);
    return out.Data();
}

// The tree as indented lines, depth-first.
void Lines(const TREENODE* node, std::string& out) {
    for (; node != nullptr; node = node->nextSibling) {
        out += std::string(node->depth * 2, ' ') + Utf8(node->name) + "\n";
        Lines(node->firstChild, out);
    }
}

TEST(ArchiveFolderTree, EveryFolderOnceSortedUnderTheArchivesPath) {
    qvtest::ZipBuilder zip;
    zip.Add("top.txt", 1, 1);
    zip.Add("b/x/deep.txt", 1, 1);
    zip.Add("a/one.txt", 1, 1);
    zip.Add("b/y/", 0, 0);
    zip.Add("b/x/more.txt", 1, 1);
    zip.Add("B/other.txt", 1, 1);  // another folder than b
    qvtest::ByteArchive file(zip.Bytes(), "x.zip");
    ASSERT_EQ(0, file.archive->status);
    CTree* tree = BuildArchiveFolderTree(static_cast<const CArchive*>(file.archive));
    ASSERT_NE(nullptr, tree);
    ASSERT_NE(nullptr, tree->root);
    EXPECT_TRUE(tree->isPrivate);
    EXPECT_EQ(0xFFFFFFFFu, tree->VolumeSerial());
    EXPECT_EQ(1, tree->root->expanded);
    std::string lines;
    Lines(tree->root->firstChild, lines);
    EXPECT_EQ(Utf8(file.path), Utf8(tree->root->name));
    EXPECT_EQ("  B\n  a\n  b\n    x\n    y\n", lines);
    delete tree;
}

}  // namespace
