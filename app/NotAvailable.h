// What a command says while the part of the program that carries it out is
// still being written.
#pragma once

// Shows "<what> is not available yet." in a message box.
void ReportNotAvailable(const char* what);
