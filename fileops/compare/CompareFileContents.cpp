#include "fileops/compare/CompareFileContents.h"

#include <cstring>
#include <memory>

#include "app/settings/Colours.h"
#include "base/io/StdFile.h"
#include "base/os/SystemError.h"
#include "ui/Dialog.h"
#include "ui/EscapePoll.h"
#include "ui/MessageBox.h"

namespace {

const uint32_t BlockSize = 0x40000;
const int WindowWidth = 40;
const int WindowHeight = 6;
const int NameWidth = 36;
const int BarWidth = 36;

// Fills the buffer as far as the file goes: a file may deliver a block in
// smaller pieces, and a short count must mean its end, not a pause.
uint32_t ReadBlock(StdFile& file, unsigned char* buffer, uint32_t& count) {
    count = 0;
    while (count < BlockSize) {
        uint32_t got = 0;
        uint32_t r = file.Read(buffer + count, BlockSize - count, &got);
        if (r == StdFile::EndOfFile) {
            return 0;
        }
        if (r != 0) {
            return r;
        }
        if (got == 0) {
            return 0;
        }
        count += got;
    }
    return 0;
}

}  // namespace

int CompareOpenFiles(StdFile& left, StdFile& right, const std::function<bool(int64_t done)>& step, int& failedSide,
                     uint32_t& error) {
    std::unique_ptr<unsigned char[]> a(new unsigned char[BlockSize]);
    std::unique_ptr<unsigned char[]> b(new unsigned char[BlockSize]);
    int64_t done = 0;
    for (;;) {
        uint32_t countA = 0;
        uint32_t countB = 0;
        error = ReadBlock(left, a.get(), countA);
        if (error != 0) {
            failedSide = 0;
            return CompareReadFailed;
        }
        error = ReadBlock(right, b.get(), countB);
        if (error != 0) {
            failedSide = 1;
            return CompareReadFailed;
        }
        if (countA != countB || memcmp(a.get(), b.get(), countA) != 0) {
            return CompareDifferent;
        }
        if (countA == 0) {
            return CompareIdentical;
        }
        done += countA;
        if (step && !step(done)) {
            return CompareCancelled;
        }
    }
}

int CompareFileContents(const Westring& left, const Westring& right) {
    StdFile files[2];
    const Westring* paths[2] = {&left, &right};
    for (int side = 0; side < 2; side++) {
        uint32_t r = files[side].Open(*paths[side], StdFile::ModeRead);
        if (r != 0) {
            ShowMessageBox(FormatSystemError(r), *paths[side], MessageBoxOk);
            return -1;
        }
    }
    int64_t total = files[0].GetSize();
    float ratio = 0;
    int failedSide = 0;
    uint32_t error = 0;
    int outcome;
    {
        const uint8_t colour = ColourOf(ColourMessages);
        Dialog window(-1, -2, WindowWidth, WindowHeight, colour);
        window.WriteCentred(0, "Comparing", colour);
        window.WriteWideCentred(1, ExtractFileName(left).Left(NameWidth), colour);
        int bar = window.AddProgressIndicator((WindowWidth - 2 - BarWidth) / 2, 3, BarWidth, &ratio);
        auto step = [&](int64_t done) {
            ratio = total > 0 ? static_cast<float>(static_cast<double>(done) / static_cast<double>(total)) : 1.0f;
            if (ratio > 1) {
                ratio = 1;
            }
            window.DrawElement(bar);
            return !PollEscapeKey();
        };
        outcome = CompareOpenFiles(files[0], files[1], step, failedSide, error);
    }
    if (outcome == CompareReadFailed) {
        ShowMessageBox(FormatSystemError(error), *paths[failedSide], MessageBoxOk);
        return -1;
    }
    return outcome == CompareCancelled ? -1 : outcome;
}
