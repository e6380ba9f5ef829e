// The configuration dialog of the Options menu.
#pragma once

void ConfigurationCommand();
