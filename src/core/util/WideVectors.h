// Functions whose loops the optimiser turns into vector code can run in the widest vectors the
// processor has: on x86-64 the compiler builds them twice, for AVX2 and for every x86-64, and
// the program takes the one the processor runs when it starts. Elsewhere they are built once,
// and so under the thread sanitizer, whose checks in the code that chooses would run before
// the sanitizer itself is ready. Both builds compute the same values (integer work, and float
// work without fused steps).
#pragma once

#if defined(__SANITIZE_THREAD__)
#define ZANDREL_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZANDREL_THREAD_SANITIZER 1
#endif
#endif

#if defined(__x86_64__) && defined(__ELF__) && (defined(__GNUC__) || defined(__clang__)) &&        \
    !defined(ZANDREL_THREAD_SANITIZER)
#define ZANDREL_WIDE_VECTORS __attribute__((target_clones("avx2", "default")))
#else
#define ZANDREL_WIDE_VECTORS
#endif
