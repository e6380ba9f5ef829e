#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/panels/PanelTree.h"
#include "app/panels/Tree.h"
#include "app/panels/TreeSet.h"
#include "app/settings/Config.h"
#include "tests/app/panels/PanelTestSupport.h"
#include "tests/app/panels/TestPanelPair.h"
#include "tests/support/TempDir.h"

using namespace paneltest;
using qvtest::TempDir;
using qvtest::W;

namespace {

Westring ToWestring(const qvtest::WString& text) {
    return Westring(reinterpret_cast<const WCHAR*>(text.c_str()));
}

std::string Serial(uint32_t serial) {
    std::string bytes;
    for (int i = 0; i < 4; i++)
        bytes += char((serial >> (8 * i)) & 0xFF);
    return bytes;
}

// The tree as one line per node in pre-order: depth, name and parent name.
std::string Outline(const CTree& tree) {
    std::string out;
    for (TREENODE* node = tree.root; node; node = node->NextInPreOrder(nullptr)) {
        if (!out.empty())
            out += ' ';
        out += std::to_string(node->depth) + Utf8(node->name.Data());
        if (node->parent)
            out += "<" + Utf8(node->parent->name.Data());
    }
    return out;
}

void LoadFrom(CTree& tree, const std::string& bytes) {
    tree.LoadBytes(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

// A tree of drive C (serial 7) read from records.
class TreeFile : public ::testing::Test {
protected:
    void SetUp() override {
        saved = Config;
        Config.ExpandedTrees = 1;
        tree.SetKey('C', 7);
        tree.isPrivate = 0;  // a tree of the set
    }
    void TearDown() override { Config = saved; }

    TCONFIG saved;
    CTree tree;
};

TEST_F(TreeFile, LoadsRecordsByTheirDepths) {
    struct TCase {
        const char* what;
        std::string records;
        const char* outline;
        bool loaded;
    };
    const TCase cases[] = {
        {"a root's first character is the drive", "0x:\n", "0C:", true},
        {"depths 0 1 2 1 0: the second root is the root's sibling", "0C:\n1a\n2b\n1c\n0D:\n",
         "0C: 1a<C: 2b<a 1c<C: 0D:", true},
        {"a jump in depth makes a child that keeps its depth", "0C:\n1a\n3deep\n1b\n", "0C: 1a<C: 3deep<a 1b<C:", true},
        {"a depth beyond 63 ends the reading, the nodes before stay", "0C:\n1a\np-too-deep\n1b\n", "0C: 1a<C:", true},
        {"a depth byte below '0' ends the reading", "0C:\n1a\n/x\n1b\n", "0C: 1a<C:", true},
        {"a record without LF is not read", "0C:\n1a\n1cut", "0C: 1a<C:", true},
        {"a root record of depth 5 still makes the root depth 0 and nothing climbs above it", "5C:\n1a\n0b\n",
         "0C: 1a<C: 0b", true},
        {"no records: a bare root, not loaded", "", "0C:", false},
        {"an empty first record has no depth byte", "\n1a\n", "0C:", false},
        {"a CR before the LF is not part of the name", "0C:\r\n1a\r\n", "0C: 1a<C:", true},
    };
    for (const TCase& c : cases) {
        CTree fresh;
        fresh.SetKey('C', 7);
        LoadFrom(fresh, Serial(7) + c.records);
        EXPECT_EQ(Outline(fresh), c.outline) << c.what;
        EXPECT_EQ(fresh.loaded, c.loaded ? 1 : 0) << c.what;
        ASSERT_NE(fresh.root, nullptr) << c.what;
        EXPECT_EQ(fresh.root->expanded, 1) << c.what;
    }
}

TEST_F(TreeFile, AnotherDisksFileIsIgnoredAndAnOldRootStays) {
    LoadFrom(tree, Serial(8) + "0C:\n1a\n");
    EXPECT_EQ(Outline(tree), "0C:");
    EXPECT_EQ(tree.loaded, 0);
    LoadFrom(tree, Serial(7) + "0C:\n1kept\n");
    LoadFrom(tree, Serial(9) + "0C:\n1other\n");
    EXPECT_EQ(Outline(tree), "0C: 1kept<C:");
    LoadFrom(tree, "\x07\x00");
    EXPECT_EQ(Outline(tree), "0C: 1kept<C:");
}

TEST_F(TreeFile, ReadsLongNamesWholeAndInUtf8) {
    std::string name(700, 'n');
    LoadFrom(tree, Serial(7) + "0C:\n1" + name + "\n1\xC3\xA9t\xC3\xA9\n");
    ASSERT_NE(tree.root->firstChild, nullptr);
    std::vector<std::string> names;
    for (TREENODE* child = tree.root->firstChild; child; child = child->nextSibling)
        names.push_back(Utf8(child->name.Data()));
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0], name);
    EXPECT_EQ(names[1], "\xC3\xA9t\xC3\xA9");
}

TEST_F(TreeFile, SortAllOrdersByCodePoint) {
    LoadFrom(tree, Serial(7) + "0C:\n1a\n1B\n1_\n2z\n2Y\n");
    tree.SortAll();
    EXPECT_EQ(Outline(tree), "0C: 1B<C: 1_<C: 2Y<_ 2z<_ 1a<C:");
}

// Saving to a "TreeDir" folder and reading the file back.
class TreeSave : public TreeFile {
protected:
    void SetUp() override {
        TreeFile::SetUp();
        Config.TreeDir = ToWestring(dir.Path());
    }
    std::string FileBytes() { return qvtest::ReadFileBytes(dir.Join(W("qv2treeC.dat"))); }

    TempDir dir;
};

TEST_F(TreeSave, WritesTheSerialAndOneRecordPerNodeInPreOrder) {
    LoadFrom(tree, Serial(7) + "0C:\n1b\n2y\n2x\n1a\n");
    ASSERT_EQ(tree.Save(), 1);
    EXPECT_EQ(FileBytes(), Serial(7) + "0C:\n1a\n1b\n2x\n2y\n");
    EXPECT_EQ(tree.changed, 0);
    CTree back;
    back.SetKey('C', 7);
    back.Load();
    EXPECT_EQ(Outline(back), Outline(tree));
}

TEST_F(TreeSave, LeavesOutNamesWithLineBreaksAndKeepsLongNames) {
    std::string longName(700, 'L');
    LoadFrom(tree, Serial(7) + "0C:\n1" + longName + "\n1ok\n");
    TREENODE* bad = new TREENODE;
    bad->name = Westring("two\nlines");
    TREENODE::AddChild(tree.root, bad);
    TREENODE* below = new TREENODE;
    below->name = Westring("below");
    TREENODE::AddChild(bad, below);
    TREENODE* cr = new TREENODE;
    cr->name = Westring("car\rriage");
    TREENODE::AddChild(tree.root, cr);
    ASSERT_EQ(tree.Save(), 1);
    EXPECT_EQ(FileBytes(), Serial(7) + "0C:\n1" + longName + "\n1ok\n");
    CTree back;
    back.SetKey('C', 7);
    back.Load();
    EXPECT_EQ(Outline(back), "0C: 1" + longName + "<C: 1ok<C:");
}

TEST_F(TreeSave, NodesDeeperThanTheFileCanHoldAreLeftOutNotTheRest) {
    std::string records = "0C:\n";
    for (int depth = 1; depth <= 63; depth++)
        records += std::string(1, char('0' + depth)) + "d\n";
    LoadFrom(tree, Serial(7) + records);
    TREENODE* deepest = tree.root;
    while (deepest->firstChild)
        deepest = deepest->firstChild;
    ASSERT_EQ(deepest->depth, 63u);
    TREENODE* tooDeep = new TREENODE;
    tooDeep->name = Westring("x");
    TREENODE::AddChild(deepest, tooDeep);
    TREENODE* after = new TREENODE;
    after->name = Westring("zlast");
    TREENODE::AddChild(tree.root, after);
    ASSERT_EQ(tree.Save(), 1);
    CTree back;
    back.SetKey('C', 7);
    back.Load();
    TREENODE* last = back.root->firstChild;
    while (last && last->nextSibling)
        last = last->nextSibling;
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(Utf8(last->name.Data()), "zlast");
}

TEST_F(TreeSave, PrivateOrUnloadedTreesAreNotWritten) {
    tree.MakeBareRoot();
    EXPECT_EQ(tree.Save(), 1);  // never loaded
    tree.loaded = 1;
    tree.isPrivate = 1;
    EXPECT_EQ(tree.Save(), 1);
    EXPECT_EQ(FileBytes(), "");
}

TEST(TreeDataFileName, FollowsTheTreeDirSetting) {
    TCONFIG saved = Config;
    Config.TreeDir = Westring("D:\\trees");
    EXPECT_EQ(Utf8(TreeDataFileName(Westring("C:")).Data()), "D:\\trees\\qv2treeC.dat");
    EXPECT_EQ(Utf8(TreeDataFileName(Westring("\\\\")).Data()), "D:\\trees\\qv2treeUNC.dat");
    EXPECT_EQ(TreeDataFileName(Westring("xyz")).Length(), 0);
    Config.TreeDir = Westring();
    Westring drive = TreeDataFileName(Westring("C:"));
    EXPECT_GT(drive.Length(), 0);
    Config = saved;
}

// Look-ups in a small tree of drive C.
class TreeLookup : public TreeFile {
protected:
    void SetUp() override {
        TreeFile::SetUp();
        LoadFrom(tree, Serial(7) + "0C:\n1work\n2Src\n3deep\n2src\n2docs\n3src\n1other\n2docs\n");
    }
};

TEST_F(TreeLookup, FindNodeExactAndWithoutCase) {
    struct TCase {
        const char* path;
        bool ignoreCase;
        const char* found;  // the parent and name, or null
    };
    const TCase cases[] = {
        {"C:\\", false, "C:"},
        {"C:", false, "C:"},
        {"c:\\WORK", true, "C:\\work"},
        {"c:\\WORK", false, nullptr},
        {"C:\\work\\Src\\deep", false, "C:\\work\\Src\\deep"},
        {"C:\\work\\src", false, "C:\\work\\src"},
        {"C:\\work\\src", true, "C:\\work\\src"},  // the exact spelling wins
        {"C:\\work\\SRC", true, "C:\\work\\Src"},
        {"C:\\work\\docs\\", false, "C:\\work\\docs"},
        {"C:\\missing", true, nullptr},
        {"C:\\work\\\\docs", false, nullptr},
        {"", true, nullptr},
    };
    for (const TCase& c : cases) {
        TREENODE* node = tree.FindNode(Westring(c.path), c.ignoreCase);
        if (!c.found) {
            EXPECT_EQ(node, nullptr) << c.path;
            continue;
        }
        ASSERT_NE(node, nullptr) << c.path;
        std::string path = Utf8(CTree::NodePath(node).Data());
        EXPECT_EQ(path, c.found[2] == 0 ? std::string(c.found) + "\\" : std::string(c.found)) << c.path;
    }
}

TEST_F(TreeLookup, FindDirectoryByNameSearchesDepthFirst) {
    Westring path;
    ASSERT_TRUE(tree.FindDirectoryByName(Westring("docs"), path, true));
    EXPECT_EQ(Utf8(path.Data()), "C:\\work\\docs");
    ASSERT_TRUE(tree.FindDirectoryByName(Westring("docs\\src"), path, true));
    EXPECT_EQ(Utf8(path.Data()), "C:\\work\\docs\\src");
    ASSERT_TRUE(tree.FindDirectoryByName(Westring("DEEP"), path, true));
    EXPECT_EQ(Utf8(path.Data()), "C:\\work\\Src\\deep");
    EXPECT_FALSE(tree.FindDirectoryByName(Westring("DEEP"), path, false));
    EXPECT_FALSE(tree.FindDirectoryByName(Westring("nowhere"), path, true));
    TREENODE* other = tree.FindNode(Westring("C:\\other"), false);
    ASSERT_TRUE(tree.FindDirectoryByNameFrom(other, Westring("docs"), path, true));
    EXPECT_EQ(Utf8(path.Data()), "C:\\other\\docs");
    EXPECT_FALSE(tree.FindDirectoryByNameFrom(other, Westring("deep"), path, true));
}

TEST_F(TreeLookup, PrefixSearchWrapsAndExpandFlagsKeepTheRoot) {
    TREENODE* work = tree.FindNode(Westring("C:\\work"), false);
    TREENODE* deep = tree.FindNode(Westring("C:\\work\\Src\\deep"), false);
    TREENODE* found = FindNextNodeByPrefix(tree.root, deep, Westring("WO"));
    EXPECT_EQ(found, work);  // nothing after deep: from the start
    found = FindNextNodeByPrefix(tree.root, work, Westring("d"));
    EXPECT_EQ(found, deep);
    EXPECT_EQ(FindNextNodeByPrefix(tree.root, work, Westring("zz")), nullptr);
    SetExpandedRecursive(tree.root, false);
    EXPECT_EQ(tree.root->expanded, 1);
    EXPECT_EQ(work->expanded, 0);
    EXPECT_EQ(deep->expanded, 0);
}

TEST(TreeSetKeys, CompareKeysMatchesBySerialWhenBothAreKnown) {
    CTreeSet set;
    struct TCase {
        TTreeKey a, b;
        int sign;
    };
    const TCase cases[] = {
        {{'A', 0}, {'A', 99}, 0}, {{'A', 5}, {'B', 5}, 0}, {{'A', 5}, {'A', 6}, -1},          {{'A', 6}, {'A', 5}, 1},
        {{'A', 0}, {'B', 0}, -1}, {{'C', 0}, {'B', 7}, 1}, {{'A', 0x80000000u}, {'A', 1}, 1},
    };
    for (const TCase& c : cases) {
        int order = set.CompareKeys(&c.a, &c.b);
        EXPECT_EQ(order > 0   ? 1
                  : order < 0 ? -1
                              : 0,
                  c.sign)
            << c.a.driveLetter << c.a.volumeSerial << " " << c.b.driveLetter << c.b.volumeSerial;
    }
}

TEST(TreeSetKeys, GetTreeSharesOneTreePerDisk) {
    TCONFIG saved = Config;
    TempDir dir;
    Config.TreeDir = ToWestring(dir.Path());
    CTreeSet set;
    CTree* c = set.GetTree('C', 1234);
    EXPECT_EQ(set.GetTree('C', 1234), c);
    EXPECT_EQ(set.GetTree('D', 1234), c);  // the same disk under another letter
    CTree* other = set.GetTree('C', 99);
    EXPECT_NE(other, c);
    CTree* byLetter = set.GetTree('E', 0);
    EXPECT_EQ(set.GetTree('E', 55), byLetter);
    EXPECT_NE(byLetter, c);
    ASSERT_NE(c->root, nullptr);
    EXPECT_EQ(c->isPrivate, 0);
    // Between keys that do not order transitively, a tree is still found.
    EXPECT_EQ(set.GetTree('C', 99), other);
    EXPECT_EQ(set.GetTree('E', 0), byLetter);
    Config = saved;
}

TEST(TreeSetKeys, ReplacingAPrivateTreeDeletesItASharedOneStays) {
    CTreeSet set;
    CTree* slot;
    InitPanelTree(&slot);
    EXPECT_EQ(slot, nullptr);
    CTree* shared = set.GetTree('Q', 0);
    SetPanelTree(&slot, shared);
    SetPanelTree(&slot, new CTree);  // the shared tree stays in the set
    EXPECT_EQ(set.GetTree('Q', 0), shared);
    SetPanelTree(&slot, nullptr);  // the private one goes (ASan would see a leak)
    EXPECT_EQ(slot, nullptr);
}

// Moves and renames in the tree of the left panel.
class TreeRename : public TreeFile {
protected:
    void SetUp() override {
        TreeFile::SetUp();
        LoadFrom(tree, Serial(7) + "0C:\n1a\n2b\n3c\n1d\n2e\n");
        pair[0].tree = &tree;
        pair[1].tree = &tree;
    }
    void TearDown() override {
        pair[0].tree = nullptr;
        pair[1].tree = nullptr;
        TreeFile::TearDown();
    }
    // Every node's depth is its parent's + 1 and every parent link matches.
    bool Consistent() {
        for (TREENODE* node = tree.root; node; node = node->NextInPreOrder(nullptr)) {
            for (TREENODE* child = node->firstChild; child; child = child->nextSibling)
                if (child->parent != node || child->depth != node->depth + 1)
                    return false;
        }
        return true;
    }

    TestPanelPair pair;
};

TEST_F(TreeRename, MovesRenamesOrDropsTheNode) {
    struct TCase {
        const char* from;
        const char* to;
        const char* outline;
    };
    const TCase cases[] = {
        {"C:\\a\\b", "C:\\a\\B2", "0C: 1a<C: 2B2<a 3c<B2 1d<C: 2e<d"},
        {"C:\\a\\b", "C:\\d\\b", "0C: 1a<C: 1d<C: 2b<d 3c<b 2e<d"},
        {"C:\\a\\b", "C:\\b", "0C: 1b<C: 2c<b 1a<C: 1d<C: 2e<d"},
        {"C:\\a\\b", "C:\\d\\e", "0C: 1a<C: 1d<C: 2e<d"},            // the target has a node
        {"C:\\a\\b", "C:\\x\\y", "0C: 1a<C: 1d<C: 2e<d"},            // the new parent has none
        {"C:\\a", "C:\\a\\b\\a", "0C: 1a<C: 2b<a 3c<b 1d<C: 2e<d"},  // into itself
        {"C:\\a", "C:\\a", "0C: 1a<C: 2b<a 3c<b 1d<C: 2e<d"},
        {"C:\\none", "C:\\d\\x", "0C: 1a<C: 2b<a 3c<b 1d<C: 2e<d"},
    };
    for (const TCase& c : cases) {
        LoadFrom(tree, Serial(7) + "0C:\n1a\n2b\n3c\n1d\n2e\n");
        RenameTreeNode(Westring(c.from), Westring(c.to), 0);
        EXPECT_EQ(Outline(tree), c.outline) << c.from << " -> " << c.to;
        EXPECT_TRUE(Consistent()) << c.from << " -> " << c.to;
    }
}

TEST_F(TreeRename, TheOtherPanelsTreeServesATreeView) {
    CTree right;
    right.SetKey('C', 7);
    LoadFrom(right, Serial(7) + "0C:\n1a\n");
    pair[0].viewStyle = VIEW_TREE;
    pair[1].tree = &right;
    RenameTreeNode(Westring("C:\\a"), Westring("C:\\z"), 0);
    EXPECT_EQ(Outline(right), "0C: 1z<C:");
    EXPECT_EQ(Outline(tree), "0C: 1a<C: 2b<a 3c<b 1d<C: 2e<d");
    pair[1].tree = nullptr;
}

TEST_F(TreeRename, AddPanelTreeChildAppendsOnceAndMarksTheTree) {
    TREENODE* node = AddPanelTreeChild(&pair[0], Westring("C:\\a"), Westring("new"));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->depth, 2u);
    EXPECT_EQ(node->size, -1);
    EXPECT_EQ(tree.changed, 1);
    EXPECT_EQ(Outline(tree), "0C: 1a<C: 2b<a 3c<b 2new<a 1d<C: 2e<d");
    EXPECT_EQ(AddPanelTreeChild(&pair[0], Westring("C:\\a"), Westring("new")), node);
    EXPECT_EQ(AddPanelTreeChild(&pair[0], Westring("C:\\zz"), Westring("new")), nullptr);
    pair[0].tree = nullptr;
    EXPECT_EQ(AddPanelTreeChild(&pair[0], Westring("C:\\a"), Westring("x")), nullptr);
}

// The tree view's lines.
class TreeLines : public TreeRename {};

TEST_F(TreeLines, FlattenShowsExpandedNodesWithTheirBranchMasks) {
    LoadFrom(tree, Serial(7) + "0C:\n1a\n2b\n3c\n2f\n1d\n2e\n");
    tree.SortAll();
    FlattenTree(&pair[0], &tree);
    EXPECT_EQ(Names(pair[0]), "C: a b c f d e");
    const uint64_t masks[] = {0, 1, 3, 3, 1, 0, 0};
    const int depths[] = {0, 1, 2, 3, 2, 1, 2};
    for (int i = 0; i < pair[0].entryCount; i++) {
        EXPECT_EQ(pair[0].entries[i]->size, masks[i]) << i;
        EXPECT_EQ(pair[0].entries[i]->sizeFromTree, depths[i]) << i;
        EXPECT_EQ(pair[0].entries[i]->attributes, FILE_ATTRIBUTE_DIRECTORY);
    }
    EXPECT_EQ(Utf8(GetTreeLinePath(&pair[0], 3).Data()), "C:\\a\\b\\c");
    EXPECT_EQ(Utf8(GetTreeLinePath(&pair[0], 0).Data()), "C:\\");
    EXPECT_EQ(GetTreeLinePath(&pair[0], 99).Length(), 0);

    tree.FindNode(Westring("C:\\a"), false)->expanded = 0;
    FlattenTree(&pair[0], &tree);
    EXPECT_EQ(Names(pair[0]), "C: a d e");
}

TEST_F(TreeLines, ShowTreeInPanelMarksTheNodeAndCentresALongList) {
    std::string records = "0C:\n";
    for (int i = 0; i < 40; i++)
        records += "1n" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "\n";
    LoadFrom(tree, Serial(7) + records);
    tree.SortAll();
    TREENODE* early = tree.FindNode(Westring("C:\\n02"), false);
    ShowTreeInPanel(&pair[0], &tree, early, 10);
    EXPECT_EQ(pair[0].topIndex, 0);
    EXPECT_EQ(pair[0].cursorRow, 3);
    EXPECT_EQ(pair[0].entries[3]->tagged, 1);
    TREENODE* middle = tree.FindNode(Westring("C:\\n20"), false);
    ShowTreeInPanel(&pair[0], &tree, middle, 10);
    EXPECT_EQ(pair[0].CursorIndex(), 21);
    EXPECT_EQ(pair[0].cursorRow, 4);
    TREENODE* last = tree.FindNode(Westring("C:\\n38"), false);
    ShowTreeInPanel(&pair[0], &tree, last, 10);
    EXPECT_EQ(pair[0].CursorIndex(), 39);
    EXPECT_EQ(pair[0].topIndex, 31);  // the view ends with the last line
}

// The tree follows what a panel read.
class TreeSync : public ::testing::Test {
protected:
    void SetUp() override {
        saved = Config;
        Config.TreeDir = ToWestring(treeDir.Path());
        Config.ExpandedTrees = 1;
        base = ToWestring(dir.Path());
        for (const char* name : {"keep", "Case", "case"})
            CreateDirectoryW(dir.Join(W(name)).c_str(), nullptr);
        tree.SetKey(char(base[0]), 11);
        tree.isPrivate = 0;
        std::string records = "0X:\n";
        // The path of the folder as nodes from the root down.
        Westring rest = base.Mid(3, base.Length() - 3);
        int depth = 1;
        while (!rest.IsEmpty()) {
            int slash = rest.Find('\\');
            Westring part = slash < 0 ? rest : rest.Left(slash);
            records += std::string(1, char('0' + depth++)) + Utf8(part.Data()) + "\n";
            rest = slash < 0 ? Westring() : rest.Mid(slash + 1, rest.Length() - slash - 1);
        }
        records += std::string(1, char('0' + depth)) + "gone\n";
        records += std::string(1, char('0' + depth)) + "keep\n";
        LoadFrom(tree, Serial(11) + records);
        panel.isOn = 1;
        panel.filter = Westring("*");
        ASSERT_TRUE(SetPanelPath(&panel, base));
    }
    void TearDown() override {
        panel.tree = nullptr;
        Config = saved;
    }

    std::string Children() {
        TREENODE* node = tree.FindNode(base, false);
        std::vector<std::string> names;
        for (TREENODE* child = node ? node->firstChild : nullptr; child; child = child->nextSibling)
            names.push_back(Utf8(child->name.Data()));
        std::sort(names.begin(), names.end());
        std::string out;
        for (const std::string& name : names)
            out += (out.empty() ? "" : " ") + name;
        return out;
    }

    TCONFIG saved;
    TempDir dir;
    TempDir treeDir;
    Westring base;
    CTree tree;
    CPanel panel;
};

TEST_F(TreeSync, ReadingADirectoryBringsItsChildrenInLineAndSaves) {
    ReadPanelDirectory(&panel);
    SetPanelTree(&panel.tree, &tree);
    ASSERT_TRUE(SyncTreeWithPanel(&panel));
    bool caseSensitive = GetFileAttributesW(dir.Join(W("CASE")).c_str()) == INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(Children(), caseSensitive ? "Case case keep" : "Case keep");
    EXPECT_FALSE(SyncTreeWithPanel(&panel));  // nothing left to change
    // The tree was saved: the file holds the new children.
    std::string bytes =
        qvtest::ReadFileBytes(treeDir.Join(W("qv2tree") + qvtest::WString(1, WCHAR(base[0])) + W(".dat")));
    EXPECT_NE(bytes.find("keep\n"), std::string::npos);
    EXPECT_EQ(bytes.find("gone\n"), std::string::npos);
}

TEST_F(TreeSync, NothingForATreeViewOrWithoutANode) {
    SetPanelTree(&panel.tree, &tree);
    panel.viewStyle = VIEW_TREE;
    EXPECT_FALSE(SyncTreeWithPanel(&panel));
    panel.viewStyle = VIEW_FULL;
    ASSERT_TRUE(SetPanelPath(&panel, base + Westring("\\keep")));
    panel.subdirectoryNames.InsertCopy(Westring("new"));
    EXPECT_TRUE(SyncTreeWithPanel(&panel));  // keep has a node: new is added
    ASSERT_TRUE(SetPanelPath(&panel, base + Westring("\\nowhere")));
    EXPECT_FALSE(SyncTreeWithPanel(&panel));
}

}  // namespace
