// The Windows leg of the end-to-end tests. When QV_WINDOWS_BUILD names a
// Windows build, every scripted host of the test program starts that build's
// program (bin/NAME.exe for the program bin/NAME the test asked for) under wine
// instead of the Linux one, in the prefix WINEPREFIX names:
//  - the drive items of the test's drive map (QUORVANE_DRIVES, which the
//    Windows program does not read) become drives of the prefix, as links in
//    its dosdevices folder, with the volume label in the drive's
//    .windows-label file; C: stays the prefix's own system drive;
//  - APPDATA, TZ, TEMP and TMP reach the program as on Linux (wine would take
//    APPDATA, TEMP and TMP from the session's registry instead);
//  - one wine session (a server kept with -p) serves every test whose drive
//    letters and labels are those the session started with, across test
//    programs; other drives start a new one (wine's mount manager keeps the
//    drives it found at the start of a session).
// A prefix serves one test program at a time: its drives change with every
// test (cmake/run-wine-e2e.py gives each parallel run a prefix of its own).
// Each test of the leg records the property "leg" as "windows", so the runner
// counts the leg's tests apart from tests of the same files that start no
// program (those stay with the Linux leg).
#pragma once

#include <string>

namespace qvtest {

// True when the tests start the Windows build under wine.
bool OnWindowsLeg();

// Records whether the running test belongs to the Windows leg (the property
// "leg"): the fixture counts its tests in; a test that drives only Linux
// programs (the terminal host, a Linux tool) counts itself out.
void CountInWindowsLeg(bool in);

// Sets a string value of a key of HKEY_CURRENT_USER in the wine session of
// the program started last (nullptr removes it), for a test whose program
// reads a setting there. The prefix serves the later tests of the run: the
// test puts back what GetWineUserValue found (false when there was none).
void SetWineUserValue(const std::string& key, const std::string& name, const std::string* value);
bool GetWineUserValue(const std::string& key, const std::string& name, std::string& value);

// Installs the launch adapter of the Windows leg when QV_WINDOWS_BUILD is set
// (done once when the test program loads).
bool InstallWindowsLeg();

}  // namespace qvtest
