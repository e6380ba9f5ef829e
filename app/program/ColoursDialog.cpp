#include "app/program/ColoursDialog.h"

#include <cstring>
#include <initializer_list>

#include "app/settings/Colours.h"
#include "app/settings/Config.h"
#include "ui/Dialog.h"

int ColoursDialog() {
    uint8_t saved[ColourSlotCount];
    std::memcpy(saved, Config.Colours, sizeof(saved));
    int32_t selection = 0;
    int result;
    {
        Dialog dialog(-1, -3, 32, 21, ColourOf(ColourMessages));
        dialog.WriteCentred(-1, " Quorvane Colours ", ColourOf(ColourMessages));
        dialog.AddColourSelector(1, 1, 1, 28, 13, ColourSlotNames, Config.Colours, ColourSlotCount, &selection, 0);
        for (const char* help : {"F=Foreground B=Background", "Shift-F/B=Change Backwards"}) {
            int row = help[0] == 'F' ? 15 : 16;
            dialog.AddStaticText((30 - static_cast<int>(std::strlen(help))) / 2, row, help, ColourOf(ColourMessages));
        }
        dialog.AddPushButton(6, 18, 1, KEY_ENTER, "_OK");
        dialog.AddPushButton(14, 18, 0, KEY_ESC, "Cancel");
        result = dialog.Run();
    }
    if (result == KEY_ESC) {
        std::memcpy(Config.Colours, saved, sizeof(saved));
        return -1;
    }
    // Hot letters of menus always stand on the menu's own background.
    Config.Colours[ColourMenuQuickKey] &= 15;
    return 0;
}
