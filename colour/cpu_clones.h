#pragma once

// Marks a hot function to be compiled twice on x86-64, once with AVX2 and
// once plain, the better one picked when the program starts. Other CPUs get
// the one plain version.
#if defined(__x86_64__)
#define PAVONA_AVX2_CLONES [[gnu::target_clones("avx2", "default")]]
#else
#define PAVONA_AVX2_CLONES
#endif
