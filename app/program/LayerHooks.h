// The calls a lower layer makes into a higher one go through hooks the lower
// layer declares; the program fills them here at start-up (the screen-size and
// scroll-back hooks of the main loop are filled by InstallScreenHooks).
#pragma once

// The masks' %search gets the file operations' text search, the panels open
// archives through the archive readers, and the ini writer takes in the live
// panel state.
void InstallLayerHooks();
