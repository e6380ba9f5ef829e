// The listing of a directory inside the archive a panel has open, as a
// directory source of the panels.
#pragma once

// Makes the panels read a panel that is inside an archive from the archive.
// Called once at start-up.
void InstallArchiveDirectorySource();
