#include "ProcessCpu.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace tafubench {

int64_t ProcessCpuTicks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return -1;
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return -1;
  // After the name: state is field 3, utime field 14 and stime field 15.
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  int64_t ticks = 0;
  for (int index = 3; index <= 15; ++index) {
    if (!(fields >> field)) return -1;
    if (index >= 14) ticks += std::stoll(field);
  }
  return ticks;
}

double ProcessCpuSeconds(pid_t pid) {
  std::error_code error;
  int64_t nanoseconds = 0;
  bool read = false;
  for (const fs::directory_entry& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream schedstat(task.path() / "schedstat");
    int64_t onCpu = 0;
    if (!(schedstat >> onCpu)) continue;
    nanoseconds += onCpu;
    read = true;
  }
  return read ? static_cast<double>(nanoseconds) / 1e9 : -1;
}

double ProcessCpuMs() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void ReportCpuPerFrame(benchmark::State& state, double cpuMs, int64_t frames) {
  state.counters["cpu_ms"] = frames > 0 ? cpuMs / static_cast<double>(frames) : 0.0;
}

}  // namespace tafubench
