#include "catalogue/catalogue_path.h"

#include <cstdlib>

namespace {
bool IsSet(const char* value) { return value && *value; }
}  // namespace

std::string DefaultCataloguePath(const CataloguePlace& place) {
    if (place.isWindows) {
        if (!IsSet(place.appData)) return "";
        std::string path = place.appData;
        if (path.back() != '\\' && path.back() != '/') path += '\\';
        return path + "Tavolin\\catalogue.sqlite";
    }
    // A relative XDG_DATA_HOME is to be ignored, as the base directory rules say.
    if (IsSet(place.xdgDataHome) && place.xdgDataHome[0] == '/') {
        std::string path = place.xdgDataHome;
        if (path.back() != '/') path += '/';
        return path + "tavolin/catalogue.sqlite";
    }
    if (!IsSet(place.home)) return "";
    std::string path = place.home;
    if (path.back() != '/') path += '/';
    return path + ".local/share/tavolin/catalogue.sqlite";
}

CataloguePlace CataloguePlaceHere(const char* appData) {
#ifdef _WIN32
    return {true, appData, nullptr, nullptr};
#else
    return {false, appData, std::getenv("XDG_DATA_HOME"), std::getenv("HOME")};
#endif
}
