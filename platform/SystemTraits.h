// What the program must know of the system it is built for, beyond the API
// itself. Only the platform layer may ask which system that is; everything
// else asks these questions instead.
#pragma once

// Drive letters are folders that the platform layer maps (a drive's root is
// not a place of its own): per-drive data files then live in the user's data
// folder rather than at the root of the drive.
#ifdef _WIN32
constexpr bool DrivesAreMappedFolders = false;
#else
constexpr bool DrivesAreMappedFolders = true;
#endif
