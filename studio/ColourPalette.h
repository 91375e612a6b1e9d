// The studio's palette: 133 colours in 7 columns by 19 rows. The swatches are painted
// into the studio backgrounds; the game only knows where they are and which colour each
// one stands for.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

constexpr int32_t kPaletteColumns = 7;
constexpr int32_t kPaletteRows = 19;
constexpr int32_t kPaletteSize = kPaletteColumns * kPaletteRows;
constexpr int32_t kSwatchSide = 15;
// Top-left corner of the swatch in column 0, row 0.
constexpr int32_t kPaletteLeft = 11;
constexpr int32_t kPaletteTop = 39;

struct PaletteEntry {
  int32_t column = 0;
  int32_t row = 0;
  bool operator==(const PaletteEntry&) const = default;
};

// The black entry, selected when the studio opens.
constexpr PaletteEntry kStartingEntry = {6, 17};

// Cell values 0xAABBGGRR; entry (column c, row r) at 7r + c. All 133 are different.
extern const std::array<uint32_t, kPaletteSize> ColourPalette;

uint32_t PaletteColour(PaletteEntry entry);
// The entry under the pointer, strictly inside the palette (11 < x < 116, 39 < y < 324).
std::optional<PaletteEntry> PaletteEntryAt(int32_t x, int32_t y);
// The entry holding colour, looked for column by column; none when no entry has it.
std::optional<PaletteEntry> FindPaletteColour(uint32_t colour);
// Top-left corner of an entry's swatch on screen.
int32_t SwatchLeft(PaletteEntry entry);
int32_t SwatchTop(PaletteEntry entry);
