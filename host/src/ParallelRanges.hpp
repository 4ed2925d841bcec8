#pragma once
// Loops over millions of items (a terrain's triangles, the project's elements) cut into ranges that run at once on
// the cores the process may use, all joined before the call returns. Callers keep what a range finds apart and
// join it afterwards with an operation that takes no order (an exact sum, a count, a maximum, "all hold"), so the
// answer is the same however many ranges there were. The work must call no CGAL: the host builds CGAL without its
// locks.
#include <cstddef>
#include <functional>

// How many cores the process may run on (at least 1).
size_t UsableCores();

// How many ranges ForEachRange cuts `n` items into: one per usable core, none shorter than `least` items, at most
// `most`.
size_t RangeCount(size_t n, size_t least, size_t most = 64);

// Calls work(range, begin, end) for each of `ranges` ranges that cut [0, n) into nearly equal runs, the first on the
// calling thread. An exception thrown by any range is thrown again here, after every range has ended.
void ForEachRange(size_t n, size_t ranges, const std::function<void(size_t range, size_t begin, size_t end)>& work);
