// What a command says when the program does not carry it out.
#pragma once

// Shows "<what> is not available yet." in a message box.
void ReportNotAvailable(const char* what);
