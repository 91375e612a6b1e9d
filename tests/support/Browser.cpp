#include "Browser.h"

#include <dirent.h>
#include <fcntl.h>
#include <glib.h>
#include <poll.h>
#include <signal.h>
#include <stb_image.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

using namespace std::chrono_literals;

namespace tafutest {

using Json = nlohmann::json;

namespace {

constexpr const char* kChromium = "/usr/bin/chromium";
constexpr const char* kPython = "/usr/bin/python3";
// The file descriptors the browser reads commands from and writes replies to.
constexpr int kBrowserReads = 3;
constexpr int kBrowserWrites = 4;
constexpr auto kCloseGrace = 5s;
constexpr auto kCallTimeout = 60s;
// Pauses of the X tests' clicks and drags, so that both play the game alike: the pointer
// rests before a click, and a drag holds still after its press and before its release.
constexpr auto kRestBeforeClick = 50ms;
// A child's click lasts about a tenth of a second.
constexpr auto kClickHold = 100ms;
constexpr auto kRestBeforePress = 100ms;
constexpr auto kHold = 200ms;
// How far a second finger slides, in pixels each way.
constexpr int32_t kSlide = 30;

pid_t ParentOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  const size_t nameEnd = line.rfind(')');
  if (nameEnd == std::string::npos) return 0;
  std::istringstream rest(line.substr(nameEnd + 2));
  char state = 0;
  pid_t parent = 0;
  rest >> state >> parent;
  return parent;
}

// A file descriptor moved above the ones the child's pipes must take.
int Lifted(int fd) {
  const int lifted = fcntl(fd, F_DUPFD, 10);
  close(fd);
  return lifted;
}

// A member of a JSON object, or null when the value is no object or lacks it.
const Json& Member(const Json& object, const char* key) {
  static const Json none;
  if (!object.is_object()) return none;
  const auto member = object.find(key);
  return member == object.end() ? none : *member;
}

// The text of a JSON string, or empty when the value is no string.
std::string Text(const Json& value) { return value.is_string() ? value.get<std::string>() : std::string(); }

}  // namespace

std::string JsonQuote(const std::string& text) {
  return Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
}

StaticServer::StaticServer(const std::string& folder) {
  std::array<int, 2> output{};
  if (pipe(output.data()) != 0) {
    failure_ = "no pipe for the file server";
    return;
  }
  pid_ = fork();
  if (pid_ == 0) {
    dup2(output[1], STDOUT_FILENO);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDERR_FILENO);
    execl(kPython, kPython, "-u", "-m", "http.server", "0", "--bind", "127.0.0.1", "--directory", folder.c_str(),
          static_cast<char*>(nullptr));
    _exit(127);
  }
  close(output[1]);
  // "Serving HTTP on 127.0.0.1 port 40123 (http://127.0.0.1:40123/) ..."
  std::string line;
  char c = 0;
  pollfd waiting{output[0], POLLIN, 0};
  while (line.find('\n') == std::string::npos && poll(&waiting, 1, 10000) > 0 && read(output[0], &c, 1) == 1) line += c;
  close(output[0]);
  const size_t at = line.find(" port ");
  if (at != std::string::npos) port_ = std::atoi(line.c_str() + at + 6);
  if (port_ <= 0) failure_ = "the file server did not start: " + line;
}

StaticServer::~StaticServer() { Stop(); }

void StaticServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  pid_ = 0;
}

std::string StaticServer::Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

Browser::Browser(int32_t width, int32_t height) {
  if (Start(width, height)) OpenPage(width, height);
}

Browser::~Browser() {
  if (pid_ > 0) Stop();
  std::error_code ignored;
  if (!profile_.empty()) std::filesystem::remove_all(profile_, ignored);
}

void Browser::Stop() {
  if (failure_.empty()) Send(R"({"id":0,"method":"Browser.close"})");
  close(toBrowser_);
  close(fromBrowser_);
  const auto deadline = std::chrono::steady_clock::now() + kCloseGrace;
  while (waitpid(pid_, nullptr, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(-pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(20ms);
  }
  // Helpers the browser left behind share its process group.
  kill(-pid_, SIGKILL);
}

void Browser::Fail(const std::string& why) {
  if (failure_.empty()) failure_ = why;
}

bool Browser::Start(int32_t width, int32_t height) {
  std::string folder = (std::filesystem::temp_directory_path() / "tafu-browser-XXXXXX").string();
  if (!mkdtemp(folder.data())) {
    Fail("no temporary folder for the browser");
    return false;
  }
  profile_ = folder;
  if (access(kChromium, X_OK) != 0) {
    Fail(std::string(kChromium) + " is not installed");
    return false;
  }
  std::array<int, 2> commands{};
  std::array<int, 2> replies{};
  if (pipe(commands.data()) != 0 || pipe(replies.data()) != 0) {
    Fail("no pipe for the browser");
    return false;
  }
  const std::string log = (profile_ / "chromium.log").string();
  const std::vector<std::string> arguments = {
      kChromium,
      "--headless=new",
      "--remote-debugging-pipe",
      "--no-sandbox",
      "--user-data-dir=" + (profile_ / "profile").string(),
      "--window-size=" + std::to_string(width) + "," + std::to_string(height),
      // No GPU here: WebGL is drawn by the software rasteriser.
      "--use-angle=swiftshader",
      "--enable-unsafe-swiftshader",
      // Sound waits for the first click or tap, as on a real page.
      "--autoplay-policy=document-user-activation-required",
      "--no-first-run",
      "--no-default-browser-check",
      "--disable-background-timer-throttling",
      "--disable-renderer-backgrounding",
      "--disable-backgrounding-occluded-windows",
      "about:blank",
  };
  pid_ = fork();
  if (pid_ == 0) {
    setpgid(0, 0);
    const int reads = Lifted(commands[0]);
    const int writes = Lifted(replies[1]);
    close(commands[1]);
    close(replies[0]);
    dup2(reads, kBrowserReads);
    dup2(writes, kBrowserWrites);
    const int output = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(output, STDOUT_FILENO);
    dup2(output, STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(kChromium, argv.data());
    _exit(127);
  }
  close(commands[0]);
  close(replies[1]);
  toBrowser_ = commands[1];
  fromBrowser_ = replies[0];
  signal(SIGPIPE, SIG_IGN);
  return pid_ > 0;
}

bool Browser::OpenPage(int32_t width, int32_t height) {
  const std::string targetId = Text(Member(CallBrowser("Target.createTarget", R"({"url":"about:blank"})"), "targetId"));
  if (targetId.empty()) return false;
  const Json attached =
      CallBrowser("Target.attachToTarget", R"({"targetId":)" + JsonQuote(targetId) + R"(,"flatten":true})");
  sessionId_ = Text(Member(attached, "sessionId"));
  if (sessionId_.empty()) return false;
  const std::string metrics = "{\"width\":" + std::to_string(width) + ",\"height\":" + std::to_string(height) +
                              R"(,"deviceScaleFactor":1,"mobile":false})";
  if (Call("Page.enable").empty() || Call("Emulation.setDeviceMetricsOverride", metrics).empty()) {
    Fail(refusal_);
    return false;
  }
  return true;
}

bool Browser::Send(const std::string& message) {
  const std::string framed = message + '\0';
  size_t sent = 0;
  while (sent < framed.size()) {
    const ssize_t written = write(toBrowser_, framed.data() + sent, framed.size() - sent);
    if (written <= 0) {
      Fail("the browser's pipe is closed");
      return false;
    }
    sent += static_cast<size_t>(written);
  }
  return true;
}

// Reads until one whole message is in received_ (true) or deadline passes (false).
bool Browser::ReadMessage(std::chrono::steady_clock::time_point deadline) {
  std::array<char, 65536> buffer{};
  while (received_.find('\0') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd waiting{fromBrowser_, POLLIN, 0};
    if (poll(&waiting, 1, static_cast<int>(left.count())) <= 0) continue;
    const ssize_t count = read(fromBrowser_, buffer.data(), buffer.size());
    if (count <= 0) {
      Fail("the browser ended (see " + (profile_ / "chromium.log").string() + ")");
      return false;
    }
    received_.append(buffer.data(), static_cast<size_t>(count));
  }
  return true;
}

// Waits for the reply to id (its result) or, when id is 0, for the event method (its params);
// events that come meanwhile are kept for WaitForEvent. Null when refused or not answered.
Json Browser::Await(int64_t id, const std::string& method, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (failure_.empty()) {
    if (id == 0) {
      for (auto event = events_.begin(); event != events_.end(); ++event) {
        if (Text(Member(*event, "method")) != method) continue;
        Json params = Member(*event, "params").is_object() ? Member(*event, "params") : Json::object();
        events_.erase(events_.begin(), event + 1);
        return params;
      }
    }
    if (!ReadMessage(deadline)) break;
    const size_t end = received_.find('\0');
    Json message = Json::parse(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(end), nullptr, false);
    received_.erase(0, end + 1);
    const Json& replyId = Member(message, "id");
    if (!replyId.is_number_integer()) {
      events_.push_back(std::move(message));
    } else if (replyId.get<int64_t>() == id) {
      if (const Json& error = Member(message, "error"); !error.is_null()) {
        refusal_ = "the browser refused: " + error.dump();
        return {};
      }
      return Member(message, "result").is_object() ? Member(message, "result") : Json::object();
    }
  }
  Fail(id != 0 ? "no reply from the browser" : "the page sent no " + method);
  return {};
}

Json Browser::Request(const std::string& method, const std::string& params, bool toPage,
                      std::chrono::milliseconds timeout) {
  if (!failure_.empty()) return {};
  refusal_.clear();
  const int64_t id = nextId_++;
  std::string message = "{\"id\":" + std::to_string(id) + ",\"method\":" + JsonQuote(method) + ",\"params\":" + params;
  if (toPage) message += ",\"sessionId\":" + JsonQuote(sessionId_);
  if (!Send(message + "}")) return {};
  Json result = Await(id, {}, timeout);
  if (!failure_.empty()) failure_ = method + ": " + failure_;
  if (!refusal_.empty()) refusal_ = method + ": " + refusal_;
  return result;
}

std::string Browser::Call(const std::string& method, const std::string& params, std::chrono::milliseconds timeout) {
  const Json result = Request(method, params, true, timeout);
  return result.is_null() ? std::string() : result.dump();
}

Json Browser::CallBrowser(const std::string& method, const std::string& params, std::chrono::milliseconds timeout) {
  return Request(method, params, false, timeout);
}

bool Browser::WaitForEvent(const std::string& method, std::chrono::milliseconds timeout) {
  return failure_.empty() && !Await(0, method, timeout).is_null();
}

bool Browser::Navigate(const std::string& url) {
  events_.clear();
  return !Call("Page.navigate", "{\"url\":" + JsonQuote(url) + "}").empty() && WaitForEvent("Page.loadEventFired");
}

bool Browser::Reload() {
  events_.clear();
  return !Call("Page.reload", R"({"ignoreCache":false})").empty() && WaitForEvent("Page.loadEventFired");
}

std::string Browser::Evaluate(const std::string& expression) {
  const Json reply = Request("Runtime.evaluate",
                             "{\"expression\":" + JsonQuote(expression) + R"(,"awaitPromise":true,"returnByValue":true})",
                             true, kCallTimeout);
  if (const Json& exception = Member(reply, "exceptionDetails"); !exception.is_null()) {
    refusal_ = "the page's script failed: " + exception.dump();
    return {};
  }
  const Json& result = Member(reply, "result");
  return result.contains("value") ? result["value"].dump() : std::string();
}

Screenshot Browser::Capture() { return Decode(Request("Page.captureScreenshot", R"({"format":"png"})", true, kCallTimeout)); }

Screenshot Browser::CaptureArea(int32_t x, int32_t y, int32_t width, int32_t height) {
  return Decode(Request("Page.captureScreenshot",
                        R"({"format":"png","clip":{"x":)" + std::to_string(x) + ",\"y\":" + std::to_string(y) +
                            ",\"width\":" + std::to_string(width) + ",\"height\":" + std::to_string(height) +
                            R"(,"scale":1}})",
                        true, kCallTimeout));
}

Screenshot Browser::Decode(const Json& reply) {
  Screenshot shot;
  gsize size = 0;
  const std::unique_ptr<guchar, void (*)(gpointer)> png(g_base64_decode(Text(Member(reply, "data")).c_str(), &size),
                                                        g_free);
  int channels = 0;
  stbi_uc* rgba = stbi_load_from_memory(png.get(), static_cast<int>(size), &shot.width, &shot.height, &channels, 4);
  if (!rgba) {
    if (refusal_.empty()) refusal_ = "the screenshot is no PNG";
    return {};
  }
  shot.pixels.resize(static_cast<size_t>(shot.width) * static_cast<size_t>(shot.height));
  for (size_t i = 0; i < shot.pixels.size(); ++i) {
    const stbi_uc* pixel = rgba + 4 * i;
    shot.pixels[i] = pixel[0] | pixel[1] << 8 | pixel[2] << 16;
  }
  stbi_image_free(rgba);
  return shot;
}

bool Browser::Mouse(const std::string& type, int32_t x, int32_t y, int32_t buttons) {
  std::string params = "{\"type\":" + JsonQuote(type) + ",\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) +
                       ",\"buttons\":" + std::to_string(buttons);
  if (type != "mouseMoved" || buttons != 0) params += R"(,"button":"left","clickCount":1)";
  return !Call("Input.dispatchMouseEvent", params + "}").empty();
}

bool Browser::MoveTo(int32_t x, int32_t y) { return Mouse("mouseMoved", x, y, 0); }

bool Browser::Click(int32_t x, int32_t y) {
  if (!MoveTo(x, y)) return false;
  std::this_thread::sleep_for(kRestBeforeClick);
  if (!Mouse("mousePressed", x, y, 1)) return false;
  std::this_thread::sleep_for(kClickHold);
  return Mouse("mouseReleased", x, y, 0);
}

bool Browser::Drag(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
  if (!MoveTo(fromX, fromY)) return false;
  std::this_thread::sleep_for(kRestBeforePress);
  if (!Mouse("mousePressed", fromX, fromY, 1)) return false;
  std::this_thread::sleep_for(kHold);
  if (!Mouse("mouseMoved", toX, toY, 1)) return false;
  std::this_thread::sleep_for(kHold);
  return Mouse("mouseReleased", toX, toY, 0);
}

bool Browser::Tap(int32_t x, int32_t y) {
  const std::string point = "[{\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) + "}]";
  return !Call("Input.dispatchTouchEvent", R"({"type":"touchStart","touchPoints":)" + point + "}").empty() &&
         !Call("Input.dispatchTouchEvent", R"({"type":"touchEnd","touchPoints":[]})").empty();
}

bool Browser::CallAtOnce(const std::vector<std::pair<std::string, std::string>>& commands) {
  if (!failure_.empty()) return false;
  refusal_.clear();
  const int64_t first = nextId_;
  for (const auto& [method, params] : commands) {
    const std::string message = "{\"id\":" + std::to_string(nextId_++) + ",\"method\":" + JsonQuote(method) +
                                ",\"params\":" + params + ",\"sessionId\":" + JsonQuote(sessionId_) + "}";
    if (!Send(message)) return false;
  }
  bool answered = true;
  for (int64_t id = first; id < nextId_; ++id) answered = Await(id, {}, kCallTimeout).is_object() && answered;
  return answered && refusal_.empty();
}

bool Browser::QuickClick(int32_t x, int32_t y) {
  if (!MoveTo(x, y)) return false;
  std::this_thread::sleep_for(kRestBeforeClick);
  const std::string at = "\"x\":" + std::to_string(x) + ",\"y\":" + std::to_string(y) + R"(,"button":"left","clickCount":1)";
  return CallAtOnce({{"Input.dispatchMouseEvent", R"({"type":"mousePressed","buttons":1,)" + at + "}"},
                     {"Input.dispatchMouseEvent", R"({"type":"mouseReleased","buttons":0,)" + at + "}"}});
}

namespace {

// A touch event's command: its type and the fingers down, each its id and place.
std::pair<std::string, std::string> TouchEvent(const char* type, const std::vector<std::array<int32_t, 3>>& fingers) {
  Json points = Json::array();
  for (const auto& [id, x, y] : fingers) points.push_back({{"id", id}, {"x", x}, {"y", y}});
  return {"Input.dispatchTouchEvent", Json{{"type", type}, {"touchPoints", points}}.dump()};
}

}  // namespace

bool Browser::QuickTap(int32_t x, int32_t y) {
  return CallAtOnce({TouchEvent("touchStart", {{0, x, y}}), TouchEvent("touchEnd", {})});
}

bool Browser::TapWithSecondFinger(int32_t x, int32_t y, int32_t otherX, int32_t otherY) {
  for (const auto& step : {TouchEvent("touchStart", {{0, x, y}}), TouchEvent("touchStart", {{0, x, y}, {1, otherX, otherY}}),
                           TouchEvent("touchMove", {{0, x, y}, {1, otherX + kSlide, otherY + kSlide}}),
                           TouchEvent("touchEnd", {{0, x, y}}), TouchEvent("touchEnd", {})}) {
    if (!CallAtOnce({step})) return false;
    std::this_thread::sleep_for(kRestBeforePress);
  }
  return true;
}

std::vector<uint8_t> Browser::EvaluateBytes(const std::string& expression) {
  const std::string script = "(async () => { const value = await (" + expression + R"();
    const bytes = new Uint8Array(value instanceof Blob ? await value.arrayBuffer() : value);
    let text = '';
    for (let i = 0; i < bytes.length; i += 8192) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 8192));
    return btoa(text); })())";
  const std::string base64 = Text(Json::parse(Evaluate(script), nullptr, false));
  gsize size = 0;
  const std::unique_ptr<guchar, void (*)(gpointer)> bytes(g_base64_decode(base64.c_str(), &size), g_free);
  return std::vector<uint8_t>(bytes.get(), bytes.get() + size);
}

bool Browser::Grant(const std::string& origin, const std::string& permission) {
  return CallBrowser("Browser.grantPermissions",
                     "{\"origin\":" + JsonQuote(origin) + ",\"permissions\":[" + JsonQuote(permission) + "]}")
      .is_object();
}

std::map<std::string, int64_t> Browser::StoredFiles(const std::string& database, const std::string& store) {
  // One line "key size" a file; folders (no contents) are left out.
  const std::string script = R"((() => new Promise((resolve) => {
    const open = indexedDB.open()" + JsonQuote(database) + R"();
    open.onerror = () => resolve('');
    open.onsuccess = () => {
      const db = open.result;
      if (!db.objectStoreNames.contains()" + JsonQuote(store) + R"()) { db.close(); resolve(''); return; }
      const lines = [];
      const cursor = db.transaction()" + JsonQuote(store) + R"().objectStore()" + JsonQuote(store) + R"().openCursor();
      cursor.onsuccess = () => {
        const at = cursor.result;
        if (!at) { db.close(); resolve(lines.join('\n')); return; }
        if (at.value && at.value.contents) lines.push(at.key + ' ' + at.value.contents.length);
        at.continue();
      };
      cursor.onerror = () => resolve('');
    };
  }))())";
  std::map<std::string, int64_t> files;
  std::istringstream lines(Text(Json::parse(Evaluate(script), nullptr, false)));
  std::string line;
  while (std::getline(lines, line)) {
    const size_t space = line.rfind(' ');
    if (space != std::string::npos) files[line.substr(0, space)] = std::atoll(line.c_str() + space + 1);
  }
  return files;
}

std::string Browser::Failure() const { return failure_.empty() ? refusal_ : failure_; }

std::vector<pid_t> Browser::Processes() const {
  std::vector<pid_t> tree;
  if (pid_ <= 0) return tree;
  std::map<pid_t, pid_t> parents;
  if (DIR* proc = opendir("/proc")) {
    while (const dirent* entry = readdir(proc)) {
      const pid_t pid = std::atoi(entry->d_name);
      if (pid > 0) parents[pid] = ParentOf(pid);
    }
    closedir(proc);
  }
  std::set<pid_t> found{pid_};
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& [pid, parent] : parents) {
      if (found.count(parent) && found.insert(pid).second) grew = true;
    }
  }
  tree.assign(found.begin(), found.end());
  return tree;
}

}  // namespace tafutest
