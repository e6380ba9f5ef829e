// Single members of an open archive as local files: a member is extracted
// with the archive's archiver into a temporary folder of the archive, viewed,
// edited or opened there, and put back with the update command when its copy
// changed, before another member is extracted or the archive closes. Deleting
// members runs the archiver's delete command and reads the archive again.
#pragma once

#include "base/strings/Westring.h"

class CArchive;
class CPanel;

// A local path of the member `name` of the archive's current directory, or
// of the member at a path inside the archive when `name` holds a backslash
// (no leading backslash); empty when it could not be extracted.
Westring GetArchiveEntryFile(CArchive* archive, const Westring& name);
// The same for a path inside the archive, from its root.
Westring GetArchiveMemberFile(CArchive* archive, const Westring& pathInside);

// Extracts one member (its path as stored) into a folder: the folder +
// backslash + that path, or empty after the error was shown.
Westring ExtractFromArchive(CArchive* archive, const Westring& entryPath, const Westring& destination);
// Puts the extracted copy back when it changed: 1 when nothing had to be done
// or the update worked, 0 after the error was shown.
int UpdateArchive(CArchive* archive);
// Puts a changed copy back and removes the archive's temporary folder; when
// the update failed, the folder stays and the user is told where the copy is.
void ReleaseArchiveMember(CArchive* archive);

// Deletes the panel's tagged members (or the current one) from the archive
// it shows, then opens the archive again.
void DeleteFromArchive(CPanel* panel);

// Whether the member named in a directory of the archive (or the members below
// a directory of that name) was stored under a leading ".\".
bool ArchiveMemberDotted(CArchive* archive, const Westring& directory, const Westring& name, bool isDirectory);

// Whether every member at a path inside the archive (all the members below
// it, for a directory) can be written as a file and reached again under the
// file-name rules the system keeps: no control character, none of
// < > : " | ? *, no component ending in a dot or a blank. The archiver would
// write such a member where nothing can move or remove it. False after the
// first such member has been named in a message.
bool ArchiveMembersWritable(CArchive* archive, const Westring& pathInside, bool isDirectory);

// A new empty folder for the archive commands, in `parent` (the temporary
// directory when null); false when none could be made.
bool MakeTemporaryFolder(Westring& folder, const Westring* parent = nullptr);
// Removes such a folder and what it holds without asking: it is the
// system's own.
void RemoveTemporaryFolder(const Westring& folder);

// Installs the member hooks of the layers below (closing an archive, nested
// archives, macros and the viewer).
void InstallArchiveMemberHooks();
