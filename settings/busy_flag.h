#pragma once

// 1 while a file command (its dialog and the file work after it) runs, else 0.
// While it is set the other commands are ignored and settings are refused.
extern int gBusy;

// Holds the busy flag for one file command: sets it when made and clears it
// when the scope ends, so every early return of the command clears it too.
// Release() clears it sooner, for a command whose last steps run unbusy.
class BusyScope {
public:
    BusyScope() { gBusy = 1; }
    ~BusyScope() { Release(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    void Release() {
        if (held_) {
            gBusy = 0;
            held_ = false;
        }
    }

private:
    bool held_ = true;
};
