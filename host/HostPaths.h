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

}  // namespace qvhost
