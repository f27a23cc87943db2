// Folders Windows names for the user, as UTF-8.
#pragma once

#include <string>

// %APPDATA% (the roaming application data folder); "" when unset.
std::string AppDataFolder();
