#include "TestSupport.h"

#include <SDL_opengl.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <sstream>

#include "graphic/KGraphic.h"
#include "services/KMessage.h"

namespace fs = std::filesystem;

namespace tafutest {

TempFolder::TempFolder() {
  std::random_device seed;
  std::mt19937_64 random(seed());
  path_ = fs::temp_directory_path() / ("tafu-test-" + std::to_string(getpid()) + "-" + std::to_string(random()));
  fs::create_directories(path_);
}

TempFolder::~TempFolder() {
  std::error_code error;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, error);
  fs::remove_all(path_, error);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void WriteHugeFile(const std::string& path, int64_t bytes) {
  WriteFile(path, "");
  fs::resize_file(path, static_cast<uintmax_t>(bytes));
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<uint32_t> SavedPaintingCells(const std::string& path, int32_t columns, int32_t rows) {
  constexpr size_t kHeader = 18;
  const std::string file = ReadFile(path);
  const auto cells = static_cast<size_t>(columns * rows);
  if (file.size() != kHeader + 4 * cells) return {};
  std::vector<uint32_t> colours(cells);
  for (size_t i = 0; i < cells; ++i) {
    const auto byte = [&](size_t k) { return static_cast<uint32_t>(static_cast<uint8_t>(file[kHeader + 4 * i + k])); };
    colours[i] = byte(2) | byte(1) << 8 | byte(0) << 16;
  }
  return colours;
}

namespace {
std::vector<CapturedMessage>& Captured() {
  static std::vector<CapturedMessage> messages;
  return messages;
}
void Record(const std::string& caption, const std::string& text) { Captured().push_back({caption, text}); }
}  // namespace

MessageCapture::MessageCapture() {
  Captured().clear();
  SetMessageHandler(Record);
}
MessageCapture::~MessageCapture() { SetMessageHandler(nullptr); }
const std::vector<CapturedMessage>& MessageCapture::Messages() const { return Captured(); }
void MessageCapture::Clear() { Captured().clear(); }

std::unique_ptr<KScreen> OpenTestWindow(int32_t width, int32_t height) {
  if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 0);
  MessageCapture quiet;
  std::unique_ptr<KScreen> screen = CreateScreen(true, false);
  if (!screen || !screen->OpenWindow(width, height, -1, true, "TAFU test")) return nullptr;
  return screen;
}

uint32_t ReadPixel(int32_t x, int32_t y) {
  FlushFrame();
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  uint8_t rgba[4] = {};
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(x, viewport[3] - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return static_cast<uint32_t>(rgba[0]) | static_cast<uint32_t>(rgba[1]) << 8 |
         static_cast<uint32_t>(rgba[2]) << 16 | static_cast<uint32_t>(rgba[3]) << 24;
}

}  // namespace tafutest
