#pragma once

// 1 while a file command (its dialog and the file work after it) runs, else 0.
// While it is set the other commands are ignored and settings are refused.
extern int gBusy;
