#include "PrivateXServer.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "GameLauncher.h"

using namespace std::chrono_literals;

namespace tafutest {

namespace {

constexpr int kServerStartMs = 10000;

pid_t SpawnQuietly(const std::vector<std::string>& command) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& part : command) argv.push_back(const_cast<char*>(part.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

void Stop(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  if (!WaitFor([&] { return waitpid(pid, nullptr, WNOHANG) == pid; }, 3s)) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  pid = 0;
}

// The window manager announces itself on the root window once it manages the screen.
bool HasWindowManager() {
  std::unique_ptr<::Display, int (*)(::Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
  if (!display) return false;
  const Atom check = XInternAtom(display.get(), "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  const int status = XGetWindowProperty(display.get(), DefaultRootWindow(display.get()), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &count, &remaining, &data);
  if (data) XFree(data);
  return status == Success && count == 1;
}

}  // namespace

PrivateXServer::PrivateXServer(const XServerSettings& settings) {
  if (const char* display = std::getenv("DISPLAY")) {
    hadDisplay_ = true;
    previousDisplay_ = display;
  }
  if (StartServer(settings) && settings.windowManager) StartWindowManager();
}

PrivateXServer::~PrivateXServer() {
  Stop(windowManager_);
  Stop(server_);
  if (hadDisplay_)
    setenv("DISPLAY", previousDisplay_.c_str(), 1);
  else
    unsetenv("DISPLAY");
}

bool PrivateXServer::StartServer(const XServerSettings& settings) {
  // The server picks a free display number itself and writes it down once it is ready.
  int ready[2] = {-1, -1};
  if (pipe(ready) != 0) {
    failure_ = "no pipe for Xvfb";
    return false;
  }
  const std::string screen = std::to_string(settings.width) + "x" + std::to_string(settings.height) + "x24";
  server_ = SpawnQuietly({"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0", screen, "-nolisten", "tcp",
                          "-noreset"});
  close(ready[1]);
  std::string number;
  pollfd wait{ready[0], POLLIN, 0};
  char digit = 0;
  while (server_ > 0 && poll(&wait, 1, kServerStartMs) == 1 && read(ready[0], &digit, 1) == 1 && digit != '\n')
    number += digit;
  close(ready[0]);
  if (number.empty()) {
    failure_ = "Xvfb did not start";
    return false;
  }
  display_ = ":" + number;
  setenv("DISPLAY", display_.c_str(), 1);
  return true;
}

bool PrivateXServer::StartWindowManager() {
  windowManager_ = SpawnQuietly({"openbox"});
  if (windowManager_ > 0 && WaitFor(HasWindowManager, 10s)) return true;
  failure_ = "openbox did not start";
  return false;
}

std::string DisplayModes() {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen("xrandr --query 2>&1", "r"), pclose);
  if (!pipe) return {};
  std::string output;
  std::array<char, 256> chunk{};
  while (fgets(chunk.data(), chunk.size(), pipe.get())) output += chunk.data();
  return output;
}

}  // namespace tafutest
