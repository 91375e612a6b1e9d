// Pages for paper: a PDF file of vector pages, each filled with coloured rectangles, and the
// paper size a page should have. On the desktop through cairo and libpaper; the browser
// prints through its own dialog and has neither (Open fails there, the paper is A4).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

// A sheet's size in PostScript points (1/72 inch), upright.
struct KPaperSize {
  double width = 0;
  double height = 0;
};

// The paper of that name ("a4", "letter", any name libpaper knows), or with none the
// system's: $PAPERSIZE, $PAPERCONF, /etc/papersize, else libpaper's default. An unknown name
// gives the system's paper.
KPaperSize PaperSizeNamed(const std::string& name = "");
// Whether libpaper knows a paper of that name.
bool IsPaperName(const std::string& name);

class KPdfDocument {
 public:
  KPdfDocument();
  ~KPdfDocument();
  KPdfDocument(const KPdfDocument&) = delete;
  KPdfDocument& operator=(const KPdfDocument&) = delete;

  // Starts the file at path with pages of that size; false when it cannot be made.
  bool Open(const std::string& path, const KPaperSize& paper);
  // A filled rectangle on the current page, in points from its top-left corner, in the
  // colour 0xAABBGGRR (the alpha is ignored).
  void FillRect(double x, double y, double width, double height, uint32_t colour);
  // Ends the current page; what is drawn next goes on a new one.
  void EndPage();
  // Writes the file out and closes it; false when any of it could not be written (the
  // half-written file is then removed).
  bool Close();

 private:
  struct State;
  std::unique_ptr<State> state_;
};
