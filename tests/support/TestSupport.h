// Helpers shared by the tests: temporary folders, captured message boxes, a GL window.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "window/KScreen.h"

namespace tafutest {

// A place in the window, in pixels from its top-left corner.
struct Point {
  int32_t x;
  int32_t y;
};

// An area of the window: its left, top, width and height in pixels.
struct Box {
  int32_t x, y, width, height;
};

// The byte of a pixel at shift (0, 8, 16, 24), as a number.
constexpr int32_t Channel(uint32_t pixel, int32_t shift) { return static_cast<int32_t>((pixel >> shift) & 0xFF); }

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
// A file of that many bytes that takes no room on the disk (all zeros, sparse).
void WriteHugeFile(const std::string& path, int64_t bytes);
std::string ReadFile(const std::string& path);
// The cells of a painting the game saved, columns x rows, row by row from the top, as
// 0xBBGGRR; empty when the file is not a whole painting of that size.
std::vector<uint32_t> SavedPaintingCells(const std::string& path, int32_t columns, int32_t rows);

struct CapturedMessage {
  std::string caption;
  std::string text;
};

// While alive, message boxes are recorded here instead of shown.
class MessageCapture {
 public:
  MessageCapture();
  ~MessageCapture();
  const std::vector<CapturedMessage>& Messages() const;
  void Clear();
};

// Opens an 800 x 600 window for drawing tests (on the X server when DISPLAY is
// set, else SDL's offscreen driver); null when no GL is to be had.
std::unique_ptr<KScreen> OpenTestWindow(int32_t width = 800, int32_t height = 600);

// Reads one pixel of the back buffer, (x, y) from the top-left, as 0xAABBGGRR.
uint32_t ReadPixel(int32_t x, int32_t y);

}  // namespace tafutest
