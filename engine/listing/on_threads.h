#pragma once

#include <cstddef>
#include <functional>

namespace tallix {

// Runs job(index, worker) once for every index below `count`, on up to `workers` threads, the
// caller's among them, and returns when all have run. No two threads share a `worker`, which
// is below `workers`, so a job may use per-worker state without locks. The first exception a
// job throws is thrown again here once every thread has stopped; jobs not begun by then are
// not run.
void OnThreads(std::size_t count, unsigned workers,
               const std::function<void(std::size_t index, unsigned worker)>& job);

}  // namespace tallix
