// Decimal rounding used by every displayed, printed, exported or compared value.
#include "dvh/RoundToDigits.h"

#include <cmath>

double RoundToDigits(double x, int digits) {
    // Extended precision keeps |x| * p exact for doubles, so the stored binary value decides
    // which side of the half it lies on (2.675, stored just below, rounds down): a value
    // shown, printed and compared with a limit rounds the same way everywhere.
    const long double p = std::pow(10.0L, static_cast<long double>(digits));
    long double r = std::floor(std::fabs(static_cast<long double>(x)) * p + 0.5L);
    if (x < 0) r = -r;
    const double result = static_cast<double>(r / p);
    return result == 0 ? 0.0 : result;  // -0 shows as 0
}
