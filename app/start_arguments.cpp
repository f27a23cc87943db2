#include "app/start_arguments.h"

StartArguments ReadStartArguments(const std::vector<std::string>& arguments) {
    StartArguments out;
    bool hasCopy = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == CATALOGUE_OPTION) {
            if (i + 1 < arguments.size()) out.cataloguePath = arguments[++i];
            continue;
        }
        if (!hasCopy) {
            out.copyPath = arguments[i];
            hasCopy = true;
        }
    }
    return out;
}
