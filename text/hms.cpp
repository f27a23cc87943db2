#include "text/hms.h"

#include <bit>
#include <cstdio>

namespace {
// The float constants nearest 1/3600 and 1/60. Both lie a little above the
// exact fractions, so exact multiples of an hour or a minute split into whole
// hours or minutes; every displayed length depends on these exact bits.
const float HOURS_PER_SECOND = std::bit_cast<float>(uint32_t{0x3991A2B4});
const float MINUTES_PER_SECOND = std::bit_cast<float>(uint32_t{0x3C888889});
}  // namespace

// All steps run in double precision from the float input; a fraction of a
// second is rounded up only when strictly above one half. Negative, infinite
// and NaN inputs split as 0 h 0 m 0 s (no caller passes them, but a damaged
// disc must never reach an undefined float-to-integer conversion).
void HmsSplit(float seconds, uint32_t& hours, uint32_t& minutes, uint32_t& secs, int round) {
    hours = minutes = secs = 0;
    const double x = seconds;
    // 2^32 hours is far beyond any disc; the bound keeps trunc() defined.
    if (!(x >= 0.0) || !(x * double(HOURS_PER_SECOND) < 4294967296.0)) return;
    uint32_t h = uint32_t(x * double(HOURS_PER_SECOND));
    const double base = 3600.0 * h;
    double mf = (x - base) * double(MINUTES_PER_SECOND);
    uint32_t m = mf > 0.0 ? uint32_t(mf) : 0;
    const double r = (x - 60.0 * m) - base;
    uint32_t s = r > 0.0 ? uint32_t(r) : 0;
    if (round && r > double(s) + 0.5) {
        if (++s == 60) {
            s = 0;
            if (++m == 60) {
                m = 0;
                ++h;
            }
        }
    }
    hours = h;
    minutes = m;
    secs = s;
}

void FormatHms(float seconds, int round, char* out, size_t size) {
    if (size == 0) return;
    uint32_t h, m, s;
    HmsSplit(seconds, h, m, s, round);
    char hours[16] = "", minutes[16] = "";
    if (h > 0) std::snprintf(hours, sizeof hours, "%uh:", unsigned(h));
    if (m > 0) std::snprintf(minutes, sizeof minutes, "%um:", unsigned(m));
    std::snprintf(out, size, "%s%s%02us", hours, minutes, unsigned(s));
}
