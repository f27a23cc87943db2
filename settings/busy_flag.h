#pragma once

// 1 while a file command (its dialog and the file work after it) runs, else 0.
// While it is set the other commands are ignored and settings are refused.
extern int gBusy;

// Holds the busy flag for one file command: sets it when made and, when the
// scope ends, puts back the value it found, so every early return of the
// command gives the flag back too. Scopes nest: a command that runs while
// another holds the flag (Load Format during the Export List dialog) leaves
// it set, and it stays set until the command that set it first ends.
// Release() gives it back sooner, for a command whose last steps run unbusy.
class BusyScope {
public:
    BusyScope() : found_(gBusy) { gBusy = 1; }
    ~BusyScope() { Release(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    void Release() {
        if (held_) {
            gBusy = found_;
            held_ = false;
        }
    }

private:
    int found_;
    bool held_ = true;
};
