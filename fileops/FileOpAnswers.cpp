#include "fileops/FileOpAnswers.h"

#include "fileops/FileErrors.h"

TFileOpAnswers FileOpAnswers = {};

void ResetFileOpAnswers() {
    FileOpAnswers = TFileOpAnswers{};
    SkippedCopies().FreeAll();
}
