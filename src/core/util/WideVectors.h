// Functions whose loops the optimiser turns into vector code can run in the widest vectors the
// processor has: on x86-64 the compiler builds them twice, for AVX2 and for every x86-64, and
// the program takes the one the processor runs when it starts. Elsewhere they are built once.
// Both builds compute the same values (integer work, and float work without fused steps).
#pragma once

#if defined(__x86_64__) && defined(__ELF__) && (defined(__GNUC__) || defined(__clang__))
#define ZANDREL_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define ZANDREL_WIDE_VECTORS
#endif
