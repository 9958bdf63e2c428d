#pragma once

// Marks a hot function to be compiled twice on x86-64, once with AVX2 and
// once plain, the better one picked when the program starts. Other CPUs get
// the one plain version, and so does a ThreadSanitizer build, whose
// instrumented code cannot run in the picker before the sanitizer starts.
#if defined(__x86_64__) && !defined(__SANITIZE_THREAD__)
#define PAVONA_AVX2_CLONES [[gnu::target_clones("avx2", "default")]]
#else
#define PAVONA_AVX2_CLONES
#endif
