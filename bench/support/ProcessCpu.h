// A process's time on a CPU, read from /proc, for the benchmarks that watch the game, the
// X servers and the browser from outside.
#pragma once

#include <benchmark/benchmark.h>
#include <sys/types.h>

#include <cstdint>

namespace tafubench {

// utime + stime of a process in clock ticks, from /proc/<pid>/stat; -1 when it cannot be read.
int64_t ProcessCpuTicks(pid_t pid);

// Time the threads a process has now have spent on a CPU, in seconds, from each thread's
// /proc/<pid>/task/<tid>/schedstat: counted in nanoseconds where utime + stime move in clock
// ticks (10 ms), so that a process resting at a few milliseconds a second is measured to
// better than one tick's share. Threads that have ended are not counted: for processes whose
// threads stay. -1 when it cannot be read.
double ProcessCpuSeconds(pid_t pid);

// CPU time of every thread of this process, in milliseconds.
double ProcessCpuMs();
// Reports cpuMs spread over frames as the benchmark's counter cpu_ms (0 without frames).
void ReportCpuPerFrame(benchmark::State& state, double cpuMs, int64_t frames);
}  // namespace tafubench
