// A fresh data folder per test: the program lives in a temporary folder,
// APPDATA points into it, and the configuration and stores start empty.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/Config.h"
#include "app/DataFiles.h"
#include "app/IniFile.h"
#include "base/strings/Westring.h"
#include "tests/support/TempDir.h"

namespace qvtest {

inline Westring ToWestring(const WString& text) {
    std::u16string wide(text.begin(), text.end());
    Westring out;
    out.AssignUtf16(reinterpret_cast<const WCHAR*>(wide.c_str()));
    return out;
}

// Records what the ini reader and writer would have shown.
class CRecordedMessages : public IIniMessages {
public:
    void Show(const Westring& text, const Westring& title) override {
        Estring a(text);
        Estring b(title);
        shown += std::string(a.Data()) + "|" + b.Data() + "\n";
    }
    std::string shown;
};

class ConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        appData = dir.Join(W("appdata"));
        SetEnvironmentVariableW(W("APPDATA").c_str(), appData.c_str());
        ProgramPath = ToWestring(dir.Join(W("quorvane.exe")));
        Config = TCONFIG();
    }
    void TearDown() override {
        SetEnvironmentVariableW(W("APPDATA").c_str(), nullptr);
        ProgramPath.Clear();
        Config = TCONFIG();
    }
    WString DataFile(const char* name) { return appData + W("\\Quorvane\\") + W(name); }
    // Writes the ini file of the per-user folder.
    void WriteIni(const std::string& text) {
        CreateDirectoryW(appData.c_str(), nullptr);
        CreateDirectoryW((appData + W("\\Quorvane")).c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.ini"), text));
    }

    TempDir dir;
    WString appData;
    CRecordedMessages messages;
};

}  // namespace qvtest
