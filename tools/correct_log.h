// ln n rounded once, to nearest, to the x87's format: the definition the logarithm table of the
// guess choice is made from and checked against. MPFR computes it, so every machine with MPFR
// gives the same bits, whatever its own logl does in the last place.
#pragma once

#include "player/extended.h"

namespace tools {

// ln n with a 64-bit significand, correctly rounded to nearest (ties to even), for n >= 1.
// ln 1 is the zero of all fields. Can't fail.
player::Extended correctly_rounded_log(int n);

}  // namespace tools
