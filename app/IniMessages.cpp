// The ini file's complaints in the program's message box.
#include "app/IniFile.h"
#include "app/MessageBox.h"

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
