// The panels' part of the configuration record.
#pragma once

// Copies the live panel state into the record before the ini file is written:
// the sort modes are kept there already, the view style, panel type, whether
// the panel shows, the filter and the width only in the panels. Does nothing
// before the panels exist. The program installs it as BeforeIniWrite.
void StorePanelState();
