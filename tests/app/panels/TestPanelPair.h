// The pair of panels for tests of the panel logic: both on, showing files,
// with a view of ten slots and no windows, standing in for the pair `main`
// makes while the test runs.
#pragma once

#include "app/settings/Config.h"
#include "app/panels/Panel.h"

namespace paneltest {

class TestPanelPair {
public:
    TestPanelPair() : saved(Panels) {
        Panels = panels;
        Config.PanelHeight = 10;
        for (CPanel& panel : panels) {
            panel.isOn = 1;
            panel.linesInView = 10;
        }
    }
    ~TestPanelPair() { Panels = saved; }
    TestPanelPair(const TestPanelPair&) = delete;
    TestPanelPair& operator=(const TestPanelPair&) = delete;

    CPanel& operator[](int side) { return panels[side]; }

private:
    CPanel panels[2];
    CPanel* saved;
};

}  // namespace paneltest
