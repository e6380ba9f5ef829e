// Where the hosts find the program and where its data files go.
#pragma once

#include <string>

namespace qvhost {

// The path of a program in the same folder as the running executable.
std::string ProgramBesideSelf(const char* name);

// When APPDATA is not set, points it at the user's configuration folder
// ($XDG_CONFIG_HOME or ~/.config) in drive form, so the ini and history files
// land in one per-user place.
void SetDefaultAppData();

// The local folder behind a path in drive form (C:\\tmp\\x gives /tmp/x when C:
// is /); empty when no drive maps it. Tests use it to map a folder they made
// through the Windows API as a drive of the program they start.
std::string LocalPathOf(const std::u16string& drivePath);

}  // namespace qvhost
