// CTree: the directory tree of one drive (or of an open archive), and its
// tree data file.
//
// The file keeps the tree between runs: a 4-byte header with the volume serial
// number (little-endian), then one record per node in depth-first pre-order,
// the root first: a depth byte ('0' + depth), the name in UTF-8, and LF. A
// file of another serial belongs to another disk and is ignored; a damaged
// file is read up to its first bad record. Writing replaces the file whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/panels/TreeNode.h"
#include "base/strings/Westring.h"

// What identifies a tree in the tree set: the drive letter ('\' for the
// network) and the volume serial number.
struct TTreeKey {
    char driveLetter;
    uint32_t volumeSerial;
};

class CTree {
public:
    // The deepest node the tree data file can hold.
    static constexpr uint32_t MaxFileDepth = 63;

    // Letter 0, serial 0, no root, private (owned by one panel).
    CTree();
    // Deletes the root and everything below it.
    ~CTree();
    CTree(const CTree&) = delete;
    CTree& operator=(const CTree&) = delete;

    char DriveLetter() const { return key.driveLetter; }
    uint32_t VolumeSerial() const { return key.volumeSerial; }

    // Reads the tree data file; the tree always has a root afterwards (a bare
    // one when there is no usable file and there was none before).
    void Load();
    // Sorts and writes the tree data file. 0 after a failure that was
    // reported, else 1 (also when nothing had to be written).
    int Save();
    // Orders every child list by exact code-point comparison of the names.
    void SortAll();
    // The node of a full path, or null. With ignoreCase a name that matches
    // exactly is still preferred to one that differs in case.
    TREENODE* FindNode(const Westring& path, bool ignoreCase);
    // Searches the whole tree depth-first for a directory reached by the
    // relative name (one or more components); its full path on a hit.
    bool FindDirectoryByName(const Westring& name, Westring& path, bool ignoreCase);
    // The same search among the descendants of node.
    bool FindDirectoryByNameFrom(TREENODE* node, const Westring& name, Westring& path, bool ignoreCase);
    // Rebuilds the tree from the disk under a small progress box; false, with
    // no root left, when the user stopped it with Esc.
    bool Rescan();

    // The full path of a node: the names from the root down joined by '\'.
    static Westring NodePath(const TREENODE* node);
    // Deletes the root and its siblings.
    void DeleteRoot();
    // Makes a bare root for the tree's drive ("X:", or "\\" for the network).
    void MakeBareRoot();
    // Sets the key (the tree set's constructor of new trees).
    void SetKey(char letter, uint32_t serial) {
        key.driveLetter = letter;
        key.volumeSerial = serial;
    }
    const TTreeKey* Key() const { return &key; }

    TTreeKey key;  // first: the tree set reads it in place
    TREENODE* root;
    uint8_t loaded;     // read from its file or written to it
    uint8_t changed;    // nodes were added that the file does not have yet
    uint8_t isPrivate;  // belongs to one panel, never saved

    // Reads a whole tree data file's bytes (header and records), as Load does
    // with the file; the fuzzer and the tests feed it directly.
    void LoadBytes(const unsigned char* bytes, size_t count);

private:
    bool saveErrorShown;  // a failed save is reported once per run
};

// The tree data file of the tree a path belongs to, or empty when that tree
// has none. Where "TreeDir" is set, the files lie there as qv2tree<letter>.dat
// (qv2treeUNC.dat for the network); otherwise the build's own place.
Westring TreeDataFileName(const Westring& path);
