#include "listing/busy_flag.h"

int gBusy = 0;
