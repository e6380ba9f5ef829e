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

// Programs of the system read names with "/" between their parts and text
// lines that end in a line feed alone: the list files handed to archivers are
// written that way (see GetProgramArgumentPathW for the paths themselves).
#ifdef _WIN32
constexpr bool ProgramsReadSlashNames = false;
#else
constexpr bool ProgramsReadSlashNames = true;
#endif

// A file the system can run (an executable image, or a script with "#!" its
// owner may execute) is a program whatever its name; elsewhere the name's
// extension says which files are programs.
#ifdef _WIN32
constexpr bool ProgramsKnownByContent = false;
#else
constexpr bool ProgramsKnownByContent = true;
#endif
