// Where the catalogue lives when the user names no file. The environment's
// values come in as UTF-8 from the caller (on Windows from the Win32 edge),
// so this part stays portable.
#pragma once
#include <string>

struct CataloguePlace {
    bool isWindows;
    const char* appData;      // %APPDATA% (Windows), nullptr or "" when unset
    const char* xdgDataHome;  // $XDG_DATA_HOME, nullptr or "" when unset
    const char* home;         // $HOME
};

// %APPDATA%\Tavolin\catalogue.sqlite on Windows; on other systems
// $XDG_DATA_HOME/tavolin/catalogue.sqlite, or
// $HOME/.local/share/tavolin/catalogue.sqlite when that is unset or not an
// absolute path. "" when the needed value is missing.
std::string DefaultCataloguePath(const CataloguePlace& place);

// The place from this process's environment (getenv; on Windows the caller
// gives appData, since getenv there is not UTF-8).
CataloguePlace CataloguePlaceHere(const char* appData = nullptr);
