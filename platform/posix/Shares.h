// Internal to the POSIX layer: UNC shares that are mounted here, and the drive
// letters the process connects to them.
//
// A share \\server\share counts as mounted when QUORVANE_SHARES names it
// (`\\server\share=DIRECTORY;...`, read like QUORVANE_DRIVES) or when
// /proc/self/mountinfo lists a cifs or smb3 mount of //server/share; its paths
// then resolve to that directory. A connected letter is a drive of the process
// until it is cancelled.
#pragma once

#include "platform/posix/Paths.h"

#include <istream>
#include <string>

namespace w32 {

// The directory of a mounted share (server and share compared without case).
bool FindShareDirectory(const WString& server, const WString& share, std::string& dir);

// The mount point of a cifs or smb3 mount of //server/share in a text of the
// form of /proc/self/mountinfo.
bool FindShareInMountInfo(std::istream& mounts, const WString& server, const WString& share, std::string& dir);

// The letter's connection, or null.
const DriveMapItem* FindConnectedDrive(WCHAR letter);
// The connected letters as a drive mask.
DWORD ConnectedDriveMask();
// Connects a free letter to a directory: 0, or ERROR_ALREADY_ASSIGNED.
DWORD ConnectDrive(WCHAR letter, const std::string& dir);
// Drops a connected letter; false when it was none.
bool DisconnectDrive(WCHAR letter);

}  // namespace w32
