// The user's folders that Windows knows, as UTF-8.
#pragma once
#include <string>

// The roaming application data folder: %APPDATA% as the environment gives
// it, or where it is unset, the folder Windows knows for it. "" when
// neither names one.
std::string RoamingAppDataFolder();
