// Temporary drive letters for UNC directories. Programs cannot take a UNC
// path as their current directory, so before one runs in \\server\share\dir
// the share is connected to a free letter and the directory is made current
// under it. A mapping is reused for its share while it stays, dropped once no
// program holds it, and every mapping is cancelled at exit.
#pragma once

#include "base/containers/SortedCollection.h"
#include "base/strings/Westring.h"
#include "platform/win32.h"

// The key of a mapping: server and share, compared without regard to case.
struct TShareDescriptor {
    Westring server;
    Westring share;

    // \\server\share of a UNC path (the part before its fourth backslash).
    static TShareDescriptor FromPath(const Westring& path);
    int Compare(const TShareDescriptor& other) const;
};

class CTempDriveMapping {
public:
    CTempDriveMapping() = default;
    // Cancels the connection first (the result does not matter any more).
    ~CTempDriveMapping();
    CTempDriveMapping(const CTempDriveMapping&) = delete;
    CTempDriveMapping& operator=(const CTempDriveMapping&) = delete;

    // Connects the path's share to the highest free letter from Z: down to
    // D:; true on success.
    bool Map(const Westring& path);
    // True when no connection remains. A drive still in use keeps its letter.
    bool Unmap();
    // The system's text of the last connect or cancel.
    Westring ErrorText() const;

    const TShareDescriptor& Descriptor() const { return descriptor; }
    char32_t Letter() const { return letter; }
    DWORD Error() const { return error; }

private:
    TShareDescriptor descriptor;
    DWORD error = 0;
    char32_t letter = 0;  // 0 when not mapped
};

class CTempDriveMappingSet : public TSortedCollection<CTempDriveMapping, TShareDescriptor> {
public:
    ~CTempDriveMappingSet() override { FreeAll(); }

    // The mapping of the path's share (made when there is none) with the
    // path's directory made current under its letter; null on failure, with
    // the reason in LastErrorText.
    CTempDriveMapping* MapPath(const Westring& path);
    // Cancels every mapping that can be cancelled and removes those.
    void UnmapAll();
    Westring LastErrorText() const { return lastError; }

protected:
    const TShareDescriptor* KeyOf(const CTempDriveMapping* item) override { return &item->Descriptor(); }
    int CompareKeys(const TShareDescriptor* a, const TShareDescriptor* b) override { return a->Compare(*b); }

private:
    Westring lastError;
};

// The program's mappings, for the whole run.
extern CTempDriveMappingSet TempDriveMappings;
