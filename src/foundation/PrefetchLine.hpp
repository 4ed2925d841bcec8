#pragma once
// A hint to load the line at p, for looks that wait for memory together. The compiler drops a plain prefetch
// builtin from a loop that does nothing else.
inline void PrefetchLine(const void* p) {
#if defined(__GNUC__) && defined(__x86_64__)
    asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(p)));
#else
    (void)p;
#endif
}
