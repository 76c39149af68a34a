#ifndef FILUM_BENCH_PROCESS_MEMORY_H
#define FILUM_BENCH_PROCESS_MEMORY_H

// Resident memory of one call, measured in a forked child so that the parent's own
// allocations and free lists do not blur it.

#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace filum_bench {

/// A "Vm...:" field of /proc/self/status, in KiB (-1 when it cannot be read).
inline long status_kib(const char* field) {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return -1;
  char line[256];
  long value = -1;
  const std::size_t length = std::strlen(field);
  while (std::fgets(line, sizeof line, status))
    if (std::strncmp(line, field, length) == 0) value = std::atol(line + length);
  std::fclose(status);
  return value;
}

/// What a call measured in a child took: wall time, resident memory before it and the
/// resident peak during it, in MiB (-1 when they cannot be measured).
struct child_measure {
  double seconds = -1;
  double before_mib = -1;
  double peak_mib = -1;
  double growth_mib() const { return before_mib < 0 || peak_mib < 0 ? -1 : peak_mib - before_mib; }
};

/// Runs call() in a forked child, which first hands the allocator's free memory back, maps
/// blocks of 64 KiB and more fresh, and resets its resident peak, so that the peak counts
/// what the process holds (the data it shares with the parent included) plus what the
/// call touches.
template <class Call>
child_measure measure_in_child(Call call) {
  child_measure m;
  int channel[2];
  if (pipe(channel) != 0) return m;
  const pid_t child = fork();
  if (child == 0) {
    mallopt(M_MMAP_THRESHOLD, 1 << 16);
    malloc_trim(0);
    std::FILE* clear = std::fopen("/proc/self/clear_refs", "w");
    const bool reset = clear && std::fputs("5", clear) >= 0 && std::fclose(clear) == 0;
    child_measure r;
    const long before = status_kib("VmRSS:");
    const auto start = std::chrono::steady_clock::now();
    call();
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long peak = status_kib("VmHWM:");
    if (reset && before > 0 && peak > 0) r.before_mib = before / 1024.0, r.peak_mib = peak / 1024.0;
    _exit(write(channel[1], &r, sizeof r) == sizeof r ? 0 : 1);
  }
  close(channel[1]);
  if (child < 0 || read(channel[0], &m, sizeof m) != sizeof m) m = child_measure{};
  close(channel[0]);
  if (child > 0) waitpid(child, nullptr, 0);
  return m;
}

}  // namespace filum_bench

#endif
