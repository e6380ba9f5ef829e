// The network chooser: a list of the network's servers, then a list of the
// chosen server's disk shares; the chosen share becomes the panel's directory.
#pragma once

class CPanel;

// 1 when a share was chosen (the panel then shows it), else 0.
int NetworkBrowse(CPanel* panel);
