// Runs script texts for the tests: each text is written to a file of the
// test's own folder and run by a fresh interpreter whose output goes to a
// string. In expected texts "@" stands for the script's path, so error
// reports read as "@(3): message at col 5".
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/io/StreamWrite.h"
#include "tests/support/TempDir.h"

namespace qvtest {

// An output stream that keeps what is written.
class CMemoryStream : public CStreamWriteBase {
public:
    bool Write(const char* text, uint32_t length) override {
        text_.append(text, length);
        return true;
    }
    bool Close() override { return true; }
    std::string text_;
};

struct TScriptCase {
    const char* script;
    const char* expected;  // the output; "@" is the script's path
};

class ScriptTest : public ::testing::Test {
protected:
    // The path of a file of the test folder, in Windows form (UTF-8).
    std::string PathOf(const std::string& name) const { return U8(folder.Join(W(name))); }
    // That path as a script's string literal.
    std::string Literal(const std::string& name) const {
        std::string out = "\"";
        for (char c : PathOf(name)) {
            if (c == '\\')
                out += '\\';
            out += c;
        }
        return out + "\"";
    }
    void WriteFile(const std::string& name, const std::string& bytes) const;
    // Runs the text as the script "t.qvs" with the argument words; the
    // output, and whether the run ended with an error.
    std::string Run(const std::string& text, const std::vector<std::string>& args = {});
    // Runs an existing file.
    std::string RunFile(const std::string& path, const std::vector<std::string>& args = {});
    // The expected text with "@" replaced by the script's path.
    std::string Expand(const std::string& expected) const;
    // Runs every case and compares its output.
    void RunCases(const TScriptCase* cases, size_t count);

    bool failed = false;
    // The statement budget of the runs (-1: none).
    int64_t budget = -1;
    // The most bytes the runs' values may take (0: no limit of their own).
    size_t memoryLimit = 0;
    TempDir folder;
};

}  // namespace qvtest
