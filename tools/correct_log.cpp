// MPFR rounds its logarithm correctly to the precision of its result, so one call at 64 bits,
// to nearest, gives the value we want without a second rounding.
#include "correct_log.h"

#include <gmp.h>
#include <mpfr.h>

#include <cassert>
#include <cstdint>

namespace tools {

player::Extended correctly_rounded_log(int n) {
  assert(n >= 1);
  if (n == 1) return {0, 0, false};
  mpfr_t value;
  mpfr_init2(value, 64);
  mpfr_set_si(value, n, MPFR_RNDN);  // exact: n has far fewer than 64 bits
  mpfr_log(value, value, MPFR_RNDN);
  // value = significand * 2^exponent, the significand an integer of exactly 64 bits.
  mpz_t significand;
  mpz_init(significand);
  const long exponent = mpfr_get_z_2exp(significand, value);
  assert(mpz_sizeinbase(significand, 2) == 64);
  std::uint64_t bits = 0;
  mpz_export(&bits, nullptr, -1, sizeof bits, 0, 0, significand);
  mpz_clear(significand);
  mpfr_clear(value);
  return {bits, static_cast<std::uint16_t>(exponent + 63 + 16383), false};
}

}  // namespace tools
