// A fresh data folder per test: the program lives in a temporary folder,
// APPDATA points into it, and the configuration and stores start empty.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "app/settings/Config.h"
#include "app/settings/DataFiles.h"
#include "app/settings/Histories.h"
#include "app/settings/IniFile.h"
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

// Empties every history store and the presets.
inline void ClearHistoryStores() {
    CommandHistory.FreeAll();
    DirectoryHistory.FreeAll();
    for (int kind = 0; kind < FieldKindCount; kind++) {
        InputHistories[kind].FreeAll();
        FieldPresets[kind].FreeAll();
    }
    HistorySearchText.Clear();
}

// The program's file in a temporary folder and APPDATA pointing into it, with
// a fresh configuration; everything put back when it goes. Fixtures that need
// another base (a console on pipes) hold one as a member.
class TestDataFolder {
public:
    TestDataFolder() {
        appData = dir.Join(W("appdata"));
        SetEnvironmentVariableW(W("APPDATA").c_str(), appData.c_str());
        ProgramPath = ToWestring(dir.Join(W("quorvane.exe")));
        Config = TCONFIG();
    }
    ~TestDataFolder() {
        SetEnvironmentVariableW(W("APPDATA").c_str(), nullptr);
        ProgramPath.Clear();
        Config = TCONFIG();
    }
    TestDataFolder(const TestDataFolder&) = delete;
    TestDataFolder& operator=(const TestDataFolder&) = delete;

    WString DataFile(const char* name) { return appData + W("\\Quorvane\\") + W(name); }

    TempDir dir;
    WString appData;
};

class ConfigTest : public ::testing::Test {
protected:
    WString DataFile(const char* name) { return folder.DataFile(name); }
    // Writes the ini file of the per-user folder.
    void WriteIni(const std::string& text) {
        CreateDirectoryW(appData.c_str(), nullptr);
        CreateDirectoryW((appData + W("\\Quorvane")).c_str(), nullptr);
        ASSERT_TRUE(WriteFileBytes(DataFile("quorvane.ini"), text));
    }

    TestDataFolder folder;
    TempDir& dir = folder.dir;
    WString& appData = folder.appData;
    CRecordedMessages messages;
};

}  // namespace qvtest
