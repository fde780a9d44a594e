#pragma once
// The look-up table must come out bit-identical to the one the viewer's users already
// rely on. That table was computed with one rule, and every pixel depends on it:
//
//   every stored intermediate is a 32-bit float; each expression that produces one is
//   evaluated in double precision from its (float) operands and rounded to float once,
//   when it is stored.
//
// The engine therefore writes each expression over explicit doubles and stores it with
// Stored(). The compiler must not change that, so the engine is built with
// -ffp-contract=off (no fused a*b+c, which would skip a rounding) and never with
// -ffast-math (which would reorder and re-associate); x87 excess precision would round
// twice, so only targets that evaluate float and double as written are accepted.
#include <cfloat>

#if defined(__clang__)
#pragma STDC FP_CONTRACT OFF  // gcc has no pragma for it; the build flag covers both
#endif

static_assert(FLT_EVAL_METHOD == 0, "the colour engine needs float/double evaluated as written (SSE2, not x87)");
#if defined(__FAST_MATH__)
#error "the colour engine must not be built with -ffast-math"
#endif

namespace palettor {

// Rounds a double-precision result to the 32-bit float it is stored as.
constexpr float Stored(double value) { return static_cast<float>(value); }

}  // namespace palettor
