// Turns a pixel-art text grid (assets/pictures/*/*.txt) into a puzzle picture TGA.
//
// Text layout ('#' lines are comments):
//   size WIDTH HEIGHT
//   store raw32 | rle24            uncompressed 32-bit or run-length 24-bit
//   colour CHAR RRGGBB             one line per colour of the legend
//   grid                           followed by HEIGHT lines of WIDTH legend characters
// The TGA is written top row first with the top-left-origin bit set in its descriptor.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
  uint8_t r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct Picture {
  int width = 0, height = 0;
  bool rle = false;
  std::vector<Rgb> pixels;  // top row first
};

constexpr uint8_t kTopLeftOrigin = 0x20;
constexpr int kMaxPacket = 128;

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
  std::cerr << where << ": " << what << "\n";
  std::exit(1);
}

Picture ReadGrid(const std::string& path) {
  std::ifstream in(path);
  if (!in) Fail(path, "cannot open");
  Picture picture;
  std::map<char, Rgb> legend;
  std::string line;
  int number = 0;
  bool inGrid = false;
  int row = 0;
  while (std::getline(in, line)) {
    ++number;
    const std::string where = path + ":" + std::to_string(number);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (inGrid) {
      if (row >= picture.height) {
        if (line.find_first_not_of(' ') == std::string::npos) continue;
        Fail(where, "more rows than the size says");
      }
      if (static_cast<int>(line.size()) != picture.width) Fail(where, "row is not WIDTH characters long");
      for (char c : line) {
        auto found = legend.find(c);
        if (found == legend.end()) Fail(where, std::string("character not in the legend: ") + c);
        picture.pixels.push_back(found->second);
      }
      ++row;
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    std::istringstream tokens(line);
    std::string word;
    tokens >> word;
    if (word == "size") {
      tokens >> picture.width >> picture.height;
      if (picture.width <= 0 || picture.height <= 0 || picture.width > 1000 || picture.height > 1000)
        Fail(where, "bad size");
    } else if (word == "store") {
      std::string kind;
      tokens >> kind;
      if (kind != "raw32" && kind != "rle24") Fail(where, "store must be raw32 or rle24");
      picture.rle = kind == "rle24";
    } else if (word == "colour") {
      std::string key, hex;
      tokens >> key >> hex;
      if (key.size() != 1 || hex.size() != 6) Fail(where, "colour needs one character and RRGGBB");
      unsigned long value = std::strtoul(hex.c_str(), nullptr, 16);
      legend[key[0]] = Rgb{uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    } else if (word == "grid") {
      if (picture.width == 0) Fail(where, "grid before size");
      inGrid = true;
    } else {
      Fail(where, "unknown word " + word);
    }
  }
  if (row != picture.height) Fail(path, "fewer rows than the size says");
  return picture;
}

void PutPixel(std::string& out, const Rgb& p, bool withAlpha) {
  out.push_back(static_cast<char>(p.b));
  out.push_back(static_cast<char>(p.g));
  out.push_back(static_cast<char>(p.r));
  if (withAlpha) out.push_back(static_cast<char>(0xFF));
}

// Run-length packets never cross a row, as other readers expect.
void PutRleRow(std::string& out, const Rgb* row, int width) {
  int i = 0;
  while (i < width) {
    int run = 1;
    while (i + run < width && run < kMaxPacket && row[i + run] == row[i]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<char>(0x80 | (run - 1)));
      PutPixel(out, row[i], false);
      i += run;
      continue;
    }
    int literal = 1;
    while (i + literal < width && literal < kMaxPacket &&
           !(i + literal + 1 < width && row[i + literal] == row[i + literal + 1]))
      ++literal;
    out.push_back(static_cast<char>(literal - 1));
    for (int k = 0; k < literal; ++k) PutPixel(out, row[i + k], false);
    i += literal;
  }
}

std::string EncodeTga(const Picture& p) {
  std::string out(18, '\0');
  out[2] = static_cast<char>(p.rle ? 10 : 2);
  out[12] = static_cast<char>(p.width & 0xFF);
  out[13] = static_cast<char>(p.width >> 8);
  out[14] = static_cast<char>(p.height & 0xFF);
  out[15] = static_cast<char>(p.height >> 8);
  out[16] = static_cast<char>(p.rle ? 24 : 32);
  out[17] = static_cast<char>(kTopLeftOrigin | (p.rle ? 0 : 8));  // 8 alpha bits when stored
  for (int y = 0; y < p.height; ++y) {
    const Rgb* row = &p.pixels[static_cast<size_t>(y) * p.width];
    if (p.rle) PutRleRow(out, row, p.width);
    else for (int x = 0; x < p.width; ++x) PutPixel(out, row[x], true);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: tafu_pixel_art picture.txt out.tga\n";
    return 2;
  }
  const std::string tga = EncodeTga(ReadGrid(argv[1]));
  std::ofstream out(argv[2], std::ios::binary);
  out.write(tga.data(), static_cast<std::streamsize>(tga.size()));
  if (!out) Fail(argv[2], "cannot write");
  return 0;
}
