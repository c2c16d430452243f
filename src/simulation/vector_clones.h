// Hot loops of the simulation are compiled twice, for plain x86-64 and for AVX2, and the
// loader picks the one the processor runs. Both versions perform the same IEEE operations in the
// same order per element (no fused multiply-add), so their results are identical.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__) && !defined(__clang_analyzer__)
#define PELVARON_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define PELVARON_VECTOR_CLONES
#endif
