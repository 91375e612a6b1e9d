// The game's web page in a real browser: a plain static file server for the site, and Debian's
// chromium started headless and driven through its DevTools protocol over a pipe (file
// descriptors 3 and 4 in the browser, each message JSON ending in a NUL byte). The browser's
// page shows an exact 800 x 600 viewport; clicks, drags and taps go in as the browser's own
// input events, and what the page shows comes back as a screenshot.
#pragma once

#include <sys/types.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tafutest {

// text as a JSON string literal.
std::string JsonQuote(const std::string& text);

// python3's http.server on a free port of 127.0.0.1, serving a folder with no special headers.
class StaticServer {
 public:
  explicit StaticServer(const std::string& folder);
  ~StaticServer();
  StaticServer(const StaticServer&) = delete;
  StaticServer& operator=(const StaticServer&) = delete;

  // Empty while the server runs, else why it does not.
  const std::string& Failure() const { return failure_; }
  // "http://127.0.0.1:<port>/"
  std::string Url() const;
  // Ends the server, as a host gone offline.
  void Stop();

 private:
  pid_t pid_ = 0;
  int port_ = 0;
  std::string failure_;
};

// A screenshot of the viewport, rows top first, each pixel 0x00BBGGRR as the X server reads.
struct Screenshot {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint32_t> pixels{};
  uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

class Browser {
 public:
  // Starts /usr/bin/chromium headless with a fresh profile and opens one blank page, its
  // viewport width x height.
  explicit Browser(int32_t width = 800, int32_t height = 600);
  ~Browser();  // closes the browser, killing it when it does not end
  Browser(const Browser&) = delete;
  Browser& operator=(const Browser&) = delete;

  // Empty while the browser runs and answers, else what went wrong first; a command it
  // refused (a screenshot while the page changes) is told until the next command.
  std::string Failure() const;
  // True once the browser has ended or stopped answering.
  bool Broken() const { return !failure_.empty(); }

  // Sends a command to the page (or to the browser itself) and waits for its reply: the raw
  // text of its result, or empty (and Failure() set) when refused or not answered in time.
  std::string Call(const std::string& method, const std::string& params = "{}",
                   std::chrono::milliseconds timeout = std::chrono::seconds(60));

  // Opens url and waits for its load event; Reload does the same with the page shown.
  bool Navigate(const std::string& url);
  bool Reload();
  // Runs a script in the page (awaiting a promise it returns); the value's raw JSON text.
  std::string Evaluate(const std::string& expression);

  Screenshot Capture();
  // Only the width x height area from (x, y) of the viewport.
  Screenshot CaptureArea(int32_t x, int32_t y, int32_t width, int32_t height);
  bool MoveTo(int32_t x, int32_t y);
  bool Click(int32_t x, int32_t y);
  // Presses at from, moves to the other point while holding, releases there.
  bool Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
  // A finger touching the screen at (x, y) and lifting again.
  bool Tap(int32_t x, int32_t y);
  // A press and its release sent at once, the release before the page has answered the
  // press, as a quick finger's click reaches the page; QuickTap is the same with a finger.
  bool QuickClick(int32_t x, int32_t y);
  bool QuickTap(int32_t x, int32_t y);
  // A finger resting on (x, y) while a second one touches (otherX, otherY), slides a little
  // and lifts; then the first lifts.
  bool TapWithSecondFinger(int32_t x, int32_t y, int32_t otherX, int32_t otherY);

  // The bytes of what a script gives (a Uint8Array, an ArrayBuffer or a Blob, or a promise of
  // one); empty when it fails.
  std::vector<uint8_t> EvaluateBytes(const std::string& expression);
  // Grants the page at origin (such as "http://127.0.0.1:8000") a permission of the browser's.
  bool Grant(const std::string& origin, const std::string& permission);

  // Keys and sizes of the files in the page's IndexedDB database and object store.
  std::map<std::string, int64_t> StoredFiles(const std::string& database, const std::string& store);

  // The browser and every process it started.
  std::vector<pid_t> Processes() const;

 private:
  bool Start(int32_t width, int32_t height);
  bool OpenPage(int32_t width, int32_t height);
  void Stop();
  nlohmann::json CallBrowser(const std::string& method, const std::string& params = "{}",
                             std::chrono::milliseconds timeout = std::chrono::seconds(60));
  // True once the page's event method has come (also when it came before the call).
  bool WaitForEvent(const std::string& method, std::chrono::milliseconds timeout = std::chrono::seconds(60));
  bool Send(const std::string& message);
  bool ReadMessage(std::chrono::steady_clock::time_point deadline);
  nlohmann::json Await(int64_t id, const std::string& method, std::chrono::milliseconds timeout);
  nlohmann::json Request(const std::string& method, const std::string& params, bool toPage,
                         std::chrono::milliseconds timeout);
  // Sends the page's commands (method, params) one after the other without waiting, then
  // waits for every reply; false when one was refused.
  bool CallAtOnce(const std::vector<std::pair<std::string, std::string>>& commands);
  Screenshot Decode(const nlohmann::json& reply);
  bool Mouse(const std::string& type, int32_t x, int32_t y, int32_t buttons);
  void Fail(const std::string& why);

  std::filesystem::path profile_;  // the browser's own folder, removed with it
  pid_t pid_ = 0;
  int toBrowser_ = -1;
  int fromBrowser_ = -1;
  int64_t nextId_ = 1;
  std::string sessionId_;
  std::string received_;
  std::deque<nlohmann::json> events_;
  std::string failure_;
  std::string refusal_;
};

}  // namespace tafutest
