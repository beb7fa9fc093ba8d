// Decimal rounding, half away from zero.
#pragma once

/// Rounds `x` to `digits` decimals (negative: to tens, hundreds...), halves away from zero.
/// The stored binary value decides, so 2.675 (stored just below) rounds to 2.67.
double RoundToDigits(double x, int digits);
