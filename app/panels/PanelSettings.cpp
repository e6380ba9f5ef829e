#include "app/panels/PanelSettings.h"

#include "app/panels/Panel.h"
#include "app/settings/Config.h"

void StorePanelState() {
    if (!Panels) {
        return;
    }
    struct TSide {
        int32_t* style;
        int32_t* type;
        uint8_t* showing;
        Westring* filter;
        int32_t* width;
    };
    const TSide sides[2] = {
        {&Config.LeftStyle, &Config.LeftType, &Config.LeftShowing, &Config.LeftFilter, &Config.LeftWidth},
        {&Config.RightStyle, &Config.RightType, &Config.RightShowing, &Config.RightFilter, &Config.RightWidth},
    };
    for (int side = 0; side < 2; side++) {
        const CPanel& panel = Panels[side];
        *sides[side].style = panel.viewStyle;
        *sides[side].type = panel.panelType;
        *sides[side].showing = panel.startHidden ? 0 : 1;
        *sides[side].filter = panel.filter;
        *sides[side].width = panel.widthKind;
    }
}
