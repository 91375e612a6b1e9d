// An X server of its own for a test that needs a screen of a given size, optionally with a
// window manager, made the test's display while it lives.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

namespace tafutest {

struct XServerSettings {
  int32_t width = 1920;
  int32_t height = 1080;
  bool windowManager = false;  // openbox
};

class PrivateXServer {
 public:
  explicit PrivateXServer(const XServerSettings& settings);
  ~PrivateXServer();  // stops both and gives the test its previous display back
  PrivateXServer(const PrivateXServer&) = delete;
  PrivateXServer& operator=(const PrivateXServer&) = delete;

  // Empty when the server (and the window manager asked for) runs, else why not.
  const std::string& Failure() const { return failure_; }
  const std::string& Display() const { return display_; }
  pid_t ServerPid() const { return server_; }

 private:
  bool StartServer(const XServerSettings& settings);
  bool StartWindowManager();

  std::string failure_;
  std::string display_;
  std::string previousDisplay_;
  bool hadDisplay_ = false;
  pid_t server_ = 0;
  pid_t windowManager_ = 0;
};

// What xrandr reports about the current screen and its modes.
std::string DisplayModes();

}  // namespace tafutest
