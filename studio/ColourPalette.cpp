#include "studio/ColourPalette.h"

// clang-format off
const std::array<uint32_t, kPaletteSize> ColourPalette = {
  0xFFD1F9FE, 0xFFA3F3FE, 0xFF6FEEFD, 0xFF41E8FD, 0xFF17DFFC, 0xFF00C3DD, 0xFF00A5C0,
  0xFFD0F1FF, 0xFFA1E2FE, 0xFF72D3FE, 0xFF43C4FD, 0xFF14B5FC, 0xFF0092D9, 0xFF006FB6,
  0xFFCAE1FF, 0xFF99C2FF, 0xFF66A3FF, 0xFF3285FF, 0xFF0065FF, 0xFF0049E1, 0xFF00099D,
  0xFFD6D5FC, 0xFFABABF9, 0xFF817FF6, 0xFF5655F3, 0xFF2F2BEF, 0xFF0F0DD1, 0xFF0100AE,
  0xFFDBD8F1, 0xFFB4B1E3, 0xFF9089D4, 0xFF6D62C3, 0xFF4436BA, 0xFF261999, 0xFF010175,
  0xFFDFCBF8, 0xFFB899EE, 0xFF9B66E5, 0xFF7833DA, 0xFF5400D3, 0xFF3800B5, 0xFF160091,
  0xFFF2D6F3, 0xFFDEABE7, 0xFFD684D6, 0xFFC459CD, 0xFFB431BE, 0xFF9812A2, 0xFF760080,
  0xFFEECEE1, 0xFFDC9BC2, 0xFFC96BA2, 0xFFB83885, 0xFFA30569, 0xFF860048, 0xFF660024,
  0xFFE7D2D0, 0xFFD2A49D, 0xFFBC776E, 0xFFA2483D, 0xFF8D1C0C, 0xFF6E0000, 0xFF520001,
  0xFFF1DCCD, 0xFFE5BB96, 0xFFDA956A, 0xFFC67433, 0xFFB85200, 0xFFA03202, 0xFF781100,
  0xFFF4E9CE, 0xFFE9D399, 0xFFE0BE65, 0xFFD3A732, 0xFFC69100, 0xFFAA7300, 0xFF855000,
  0xFFDFE5CC, 0xFFBCCB98, 0xFF9CB067, 0xFF7A9633, 0xFF587D00, 0xFF3A5E00, 0xFF153A02,
  0xFFCFEADA, 0xFFA3D3B7, 0xFF75BD93, 0xFF46A76F, 0xFF15904D, 0xFF00732D, 0xFF024E0C,
  0xFFD0EAE4, 0xFF99D4C6, 0xFF67BEAA, 0xFF32A98D, 0xFF019370, 0xFF007453, 0xFF03532C,
  0xFFD6DFE3, 0xFFA8B7C7, 0xFF7D9FAC, 0xFF527E8F, 0xFF245F73, 0xFF094055, 0xFF001E31,
  0xFFD1DBE2, 0xFFA0B4C6, 0xFF708FA8, 0xFF43688E, 0xFF14436F, 0xFF002452, 0xFF000131,
  0xFFCCDAEC, 0xFF9AB4DC, 0xFF668EC8, 0xFF3569B6, 0xFF0046A1, 0xFF002686, 0xFF000461,
  0xFF8D8F90, 0xFF767879, 0xFF606263, 0xFF404243, 0xFF333536, 0xFF0E0D0F, 0xFF000000,
  0xFFFFFFFF, 0xFFE9E9E9, 0xFFD2D2D2, 0xFFBCBCBC, 0xFFA3A5A6, 0xFF8D8D8D, 0xFF808080,
};
// clang-format on

namespace {

constexpr int32_t kPaletteRight = kPaletteLeft + kPaletteColumns * kSwatchSide;
constexpr int32_t kPaletteBottom = kPaletteTop + kPaletteRows * kSwatchSide;

}  // namespace

uint32_t PaletteColour(PaletteEntry entry) {
  return ColourPalette[static_cast<size_t>(entry.row * kPaletteColumns + entry.column)];
}

std::optional<PaletteEntry> PaletteEntryAt(int32_t x, int32_t y) {
  if (x <= kPaletteLeft || x >= kPaletteRight || y <= kPaletteTop || y >= kPaletteBottom) return std::nullopt;
  return PaletteEntry{(x - kPaletteLeft) / kSwatchSide, (y - kPaletteTop) / kSwatchSide};
}

std::optional<PaletteEntry> FindPaletteColour(uint32_t colour) {
  for (int32_t column = 0; column < kPaletteColumns; ++column)
    for (int32_t row = 0; row < kPaletteRows; ++row)
      if (PaletteColour({column, row}) == colour) return PaletteEntry{column, row};
  return std::nullopt;
}

int32_t SwatchLeft(PaletteEntry entry) { return kPaletteLeft + kSwatchSide * entry.column; }
int32_t SwatchTop(PaletteEntry entry) { return kPaletteTop + kSwatchSide * entry.row; }
