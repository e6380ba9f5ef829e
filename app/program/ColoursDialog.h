// The colours dialog: the 21 colour slots in a list, each shown in its own
// colour and changed in place, so the screen shows every change at once.
#pragma once

// 0 after OK; -1 after Cancel or Esc, the old colours put back.
int ColoursDialog();
