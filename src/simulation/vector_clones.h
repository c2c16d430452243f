// Hot loops of the simulation are compiled three times, for plain x86-64, AVX2 and AVX-512, and
// the loader picks the one the processor runs. All of them perform the same IEEE operations in the
// same order per element (no fused multiply-add), so their results are identical.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__) && !defined(__clang_analyzer__)
#define PELVARON_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#else
#define PELVARON_VECTOR_CLONES
#endif
