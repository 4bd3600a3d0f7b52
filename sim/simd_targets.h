// The instruction sets the push and the fast relaxation are written for, all
// named here. Every form gives the same bits; building with
// QUIBBIX_PORTABLE_RELAXATION defined takes the plain forms everywhere, which
// the tests run once that way.
//
// - QUIBBIX_RELAXATION_SSE2: the push (sim/push_apart.h), the fast sweep's
//   bookkeeping and its "sse2" branch use SSE2, which every x86-64 CPU has.
//   The browser build compiles them to WebAssembly's 128-bit SIMD (Emscripten
//   with -msimd128 -msse2), where they give the same bits too.
// - QUIBBIX_RELAXATION_WIDE: the fast sweep also has its AVX2 and AVX-512
//   forms, compiled for those sets alone and run only where the CPU has them.
#pragma once

#if defined(__SSE2__) && !defined(QUIBBIX_PORTABLE_RELAXATION)
#define QUIBBIX_RELAXATION_SSE2 1
#include <emmintrin.h>
#endif

#if defined(__x86_64__) && !defined(QUIBBIX_PORTABLE_RELAXATION)
#define QUIBBIX_RELAXATION_WIDE 1
#include <immintrin.h>

// The targets of the wide forms; the AVX-512 one compares into mask registers
// on 256-bit vectors.
#define QUIBBIX_AVX2_TARGET "avx2"
#define QUIBBIX_AVX512_TARGET "avx512f,avx512vl"

// Everything defined between QUIBBIX_BEGIN_AVX2 (or QUIBBIX_BEGIN_AVX512) and
// QUIBBIX_END_TARGET, templates included, is compiled for that target: code
// written once over a set's operations can then be defined once per set.
#define QUIBBIX_PRAGMA(text) _Pragma(#text)
#if defined(__clang__)
#define QUIBBIX_BEGIN_TARGET(isa) \
  QUIBBIX_PRAGMA(clang attribute push(__attribute__((target(isa))), apply_to = function))
#define QUIBBIX_END_TARGET _Pragma("clang attribute pop")
#else
#define QUIBBIX_BEGIN_TARGET(isa) _Pragma("GCC push_options") QUIBBIX_PRAGMA(GCC target(isa))
#define QUIBBIX_END_TARGET _Pragma("GCC pop_options")
#endif
#define QUIBBIX_BEGIN_AVX2 QUIBBIX_BEGIN_TARGET(QUIBBIX_AVX2_TARGET)
#define QUIBBIX_BEGIN_AVX512 QUIBBIX_BEGIN_TARGET(QUIBBIX_AVX512_TARGET)
#endif
