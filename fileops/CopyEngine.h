// The copy engine: copies or moves one file, one link or one directory tree,
// keeping attributes and times, asking about conflicts and feeding the
// progress window.
//
// A file is copied into a new temporary file beside its destination and put
// in place by one rename, so an old destination is never truncated first: a
// failed, skipped or cancelled copy leaves it as it was and no temporary file
// behind. Results are signed: 0 done, -1 stop the whole operation, a positive
// Windows error (or one of the codes below) for an item not done.
#pragma once

#include <cstdint>

#include "base/strings/Westring.h"
#include "platform/win32.h"

class CCopyProgressWindow;
class StdFile;

// Option bits of CopyFileOrTree and CopyOneFile (CopyOptionSkipOnError, 8,
// lives with the error prompt).
const uint32_t CopyOptionOpenForWriting = 1;  // copy a source others write to
const uint32_t CopyOptionAllowDecrypted = 2;  // the copy may lose encryption
const uint32_t CopyOptionDereference = 4;     // copy what a link points to

// Result codes beside the Windows errors.
const int CopyResultStop = -1;
const int CopyResultDeclined = 0x10000;        // skipped, merge declined, source kept
const int CopyResultOpenForWriting = 0x10001;  // the source is being written

// The platform's extended copy routine, looked up on first use; null makes
// the engine use its own read/write loop.
typedef BOOL(WINAPI* TCopyFileEx)(LPCWSTR, LPCWSTR, LPPROGRESS_ROUTINE, LPVOID, LPBOOL, DWORD);
TCopyFileEx& CopyFileExEntry();

// Set by the copy command for the source's file system: copies lose the
// read-only attribute (CD file systems), names of files copied out of trees
// are lower-cased ("CaseFilter").
extern bool CopyClearsReadOnly;
extern bool CopyLowerCasesNames;

int CopyFileOrTree(const Westring& source, const Westring& destination, bool overwrite, bool move,
                   CCopyProgressWindow* progress, StdFile& descriptions, uint32_t options);
int CopyOneFile(const Westring& source, const Westring& destination, int index, int count,
                CCopyProgressWindow* progress, StdFile& descriptions, uint32_t options);
int MoveOneFile(const Westring& source, const Westring& destination, int index, int count,
                CCopyProgressWindow* progress, StdFile& descriptions, bool renameFirst);
DWORD CALLBACK CopyProgressRoutine(LARGE_INTEGER totalSize, LARGE_INTEGER totalTransferred, LARGE_INTEGER streamSize,
                                   LARGE_INTEGER streamTransferred, DWORD streamNumber, DWORD reason, HANDLE source,
                                   HANDLE destination, LPVOID data);
// Deletes the "Copying" window the engine keeps across the items of one
// operation (the command calls it at its end).
void DeleteCopyingWindow();
