// Start-up time, peak resident memory and idle CPU of a program, watched from outside:
// the harness starts it, finds its window on the X server and reads strips of the
// window's pixels until they stop changing. No code in the game helps it.
//
//   first frame: from exec to the first time the window shows anything but black
//   settled frame: from exec to the first time it shows the picture it still shows
//                  two and a half seconds later (all assets loaded, first screen drawn)
//   peak memory: VmHWM of the process after the settled frame and the idle period
//   idle CPU: share of one core the process used over four seconds of idling
//
// Usage: startup_bench [runs]. Prints one line per figure: name, unit, then each run's
// value (bench.sh turns them into medians and spreads).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kDefaultRuns = 5;
constexpr double kWindowTimeoutSeconds = 10.0;
constexpr double kSettleSeconds = 2.5;
constexpr double kIdleSeconds = 4.0;
constexpr double kCloseTimeoutSeconds = 3.0;
constexpr auto kPollInterval = std::chrono::microseconds(500);
// Rows of the window read on every poll, as fractions of its height.
constexpr double kStripRows[] = {0.2, 0.4, 0.6, 0.8};
// A sample matches the settled picture when this share of its pixels is the same (a
// pulsing button or a moving sprite may still differ).
constexpr double kSettledShare = 0.98;

struct Program {
  std::string label;
  std::string path;
  std::string title;
  const char* option = nullptr;  // one command-line option, or none
};

struct Sample {
  double ms = 0;
  std::vector<uint32_t> pixels;
};

struct RunFigures {
  double firstFrameMs = -1;
  double settledFrameMs = -1;
  double peakMb = -1;
  double idleCorePercent = -1;
};

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool FindWindow(Display* display, Window window, const std::string& title, Window& found) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) && name) {
    const bool same = title == name;
    XFree(name);
    XWindowAttributes attributes{};
    if (same && XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable) {
      found = window;
      return true;
    }
  }
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display, window, &root, &parent, &children, &count)) return false;
  bool hit = false;
  for (unsigned i = 0; i < count && !hit; ++i) hit = FindWindow(display, children[i], title, found);
  if (children) XFree(children);
  return hit;
}

// The window's strips, or an empty sample when the window cannot be read yet.
std::vector<uint32_t> ReadStrips(Display* display, Window window, int width, int height) {
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(width) * std::size(kStripRows));
  for (double row : kStripRows) {
    XImage* image = XGetImage(display, window, 0, static_cast<int>(row * height), static_cast<unsigned>(width), 1,
                              AllPlanes, ZPixmap);
    if (!image) return {};
    for (int x = 0; x < width; ++x) pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, 0) & 0xFFFFFF));
    XDestroyImage(image);
  }
  return pixels;
}

bool AnyLit(const std::vector<uint32_t>& pixels) {
  for (uint32_t pixel : pixels)
    if (pixel != 0) return true;
  return false;
}

double SameShare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  if (a.size() != b.size() || a.empty()) return 0;
  size_t same = 0;
  for (size_t i = 0; i < a.size(); ++i) same += a[i] == b[i];
  return static_cast<double>(same) / static_cast<double>(a.size());
}

// utime + stime of the process, in seconds.
double CpuSeconds(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t close = text.rfind(')');
  if (close == std::string::npos) return -1;
  std::istringstream fields(text.substr(close + 2));
  std::string field;
  // After the name: state is field 3, utime field 14, stime field 15.
  std::vector<std::string> values;
  while (fields >> field) values.push_back(field);
  if (values.size() < 13) return -1;
  const double ticks = std::stod(values[11]) + std::stod(values[12]);
  return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double PeakMb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return -1;
}

void RequestClose(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

void EndProgram(Display* display, Window window, pid_t pid) {
  if (window) RequestClose(display, window);
  const Clock::time_point asked = Clock::now();
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (MsSince(asked) > kCloseTimeoutSeconds * 1000) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

RunFigures RunOnce(Display* display, const Program& program) {
  RunFigures figures;
  const Clock::time_point start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(program.path.c_str(), program.path.c_str(), program.option, static_cast<char*>(nullptr));
    _exit(127);
  }
  if (pid < 0) return figures;

  Window window = 0;
  while (!FindWindow(display, DefaultRootWindow(display), program.title, window)) {
    if (MsSince(start) > kWindowTimeoutSeconds * 1000 || waitpid(pid, nullptr, WNOHANG) != 0) {
      EndProgram(display, 0, pid);
      return figures;
    }
    std::this_thread::sleep_for(kPollInterval);
  }
  XWindowAttributes attributes{};
  XGetWindowAttributes(display, window, &attributes);

  std::vector<Sample> changes;
  while (MsSince(start) < kSettleSeconds * 1000) {
    const double ms = MsSince(start);
    std::vector<uint32_t> pixels = ReadStrips(display, window, attributes.width, attributes.height);
    if (!pixels.empty() && (changes.empty() || pixels != changes.back().pixels)) changes.push_back({ms, std::move(pixels)});
    std::this_thread::sleep_for(kPollInterval);
  }
  const std::vector<uint32_t> settled = ReadStrips(display, window, attributes.width, attributes.height);
  for (const Sample& sample : changes) {
    if (figures.firstFrameMs < 0 && AnyLit(sample.pixels)) figures.firstFrameMs = sample.ms;
    if (figures.settledFrameMs < 0 && SameShare(sample.pixels, settled) >= kSettledShare)
      figures.settledFrameMs = sample.ms;
  }

  const double cpuBefore = CpuSeconds(pid);
  const Clock::time_point idleStart = Clock::now();
  std::this_thread::sleep_for(std::chrono::duration<double>(kIdleSeconds));
  const double cpuAfter = CpuSeconds(pid);
  const double idleSeconds = MsSince(idleStart) / 1000.0;
  if (cpuBefore >= 0 && cpuAfter >= 0) figures.idleCorePercent = 100.0 * (cpuAfter - cpuBefore) / idleSeconds;
  figures.peakMb = PeakMb(pid);

  EndProgram(display, window, pid);
  return figures;
}

// Windows come and go while the tree is walked (the previous run's window closing): a
// request about a window that is gone is not an error here.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

void PrintFigure(const std::string& name, const char* unit, const std::vector<double>& values) {
  std::printf("%s %s", name.c_str(), unit);
  for (double value : values) std::printf(" %.2f", value);
  std::printf("\n");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : kDefaultRuns;
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "startup_bench: no X display\n");
    return 1;
  }
  XSetErrorHandler(IgnoreXError);
  // The game in its window and full screen (on a display larger than its world, the frame
  // drawn at the display's size), and the bare window.
  const Program programs[] = {{"tafu", TAFU_EXE, "TAFU"},
                              {"tafu_full_screen", TAFU_EXE, "TAFU", "--fullscreen"},
                              {"bare_window", BARE_WINDOW_EXE, "TAFU bare window"}};
  std::printf("# figure unit values...\n");
  bool failed = false;
  // The programs take turns, so that a machine that grows busier or quieter while the runs
  // go on weighs on both alike.
  std::map<std::string, std::map<std::string, std::vector<double>>> valuesOf;
  for (int run = 0; run < runs; ++run) {
    for (const Program& program : programs) {
      const RunFigures figures = RunOnce(display, program);
      if (figures.firstFrameMs < 0 || figures.settledFrameMs < 0 || figures.peakMb < 0) {
        std::fprintf(stderr, "startup_bench: %s showed no frame\n", program.path.c_str());
        failed = true;
        continue;
      }
      std::map<std::string, std::vector<double>>& values = valuesOf[program.label];
      values["first_frame"].push_back(figures.firstFrameMs);
      values["settled_frame"].push_back(figures.settledFrameMs);
      values["peak_memory"].push_back(figures.peakMb);
      values["idle_cpu"].push_back(figures.idleCorePercent);
    }
  }
  for (const Program& program : programs) {
    std::map<std::string, std::vector<double>>& values = valuesOf[program.label];
    PrintFigure(program.label + ".first_frame", "ms", values["first_frame"]);
    PrintFigure(program.label + ".settled_frame", "ms", values["settled_frame"]);
    PrintFigure(program.label + ".peak_memory", "MB", values["peak_memory"]);
    PrintFigure(program.label + ".idle_cpu", "%core", values["idle_cpu"]);
  }
  XCloseDisplay(display);
  return failed ? 1 : 0;
}
