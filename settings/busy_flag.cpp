#include "settings/busy_flag.h"

int gBusy = 0;
