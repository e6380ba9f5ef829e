// The ini file's complaints in the program's message box.
#include "ui/IniMessages.h"

#include "ui/MessageBox.h"

namespace {

class CMessageBoxIniMessages : public IIniMessages {
public:
    void Show(const Westring& text, const Westring& title) override { ShowMessageBox(text, title, 0); }
};

}  // namespace

IIniMessages& MessageBoxIniMessages() {
    static CMessageBoxIniMessages messages;
    return messages;
}

void LoadConfiguration(bool reloadOnly) {
    LoadConfiguration(reloadOnly, MessageBoxIniMessages());
}

DWORD WriteIniFile() {
    return WriteIniFile(MessageBoxIniMessages());
}
