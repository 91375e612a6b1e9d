#include "KPdf.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <paper.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kChannelMax = 255.0;
constexpr KPaperSize kA4 = {595.276, 841.89};

}  // namespace

KPaperSize PaperSizeNamed(const std::string& name) {
  paperinit();
  KPaperSize size = kA4;
  const struct paper* paper = name.empty() ? nullptr : paperinfo(name.c_str());
  if (!paper) {
    // systempapername hands over a string of its own making.
    char* system = systempapername();
    paper = system ? paperinfo(system) : nullptr;
    if (!paper) paper = paperinfo(defaultpapername());
    std::free(system);
  }
  if (paper) size = {paperpswidth(paper), paperpsheight(paper)};
  paperdone();
  return size;
}

bool IsPaperName(const std::string& name) {
  paperinit();
  const bool known = !name.empty() && paperinfo(name.c_str()) != nullptr;
  paperdone();
  return known;
}

struct KPdfDocument::State {
  std::string path;
  cairo_surface_t* surface = nullptr;
  cairo_t* cairo = nullptr;
  bool drawn = false;
};

KPdfDocument::KPdfDocument() : state_(std::make_unique<State>()) {}

KPdfDocument::~KPdfDocument() {
  if (state_->cairo) Close();
}

bool KPdfDocument::Open(const std::string& path, const KPaperSize& paper) {
  if (state_->cairo) return false;
  cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), paper.width, paper.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return false;
  }
  state_->path = path;
  state_->surface = surface;
  state_->cairo = cairo_create(surface);
  return true;
}

void KPdfDocument::FillRect(double x, double y, double width, double height, uint32_t colour) {
  if (!state_->cairo) return;
  cairo_set_source_rgb(state_->cairo, (colour & 0xFF) / kChannelMax, ((colour >> 8) & 0xFF) / kChannelMax,
                       ((colour >> 16) & 0xFF) / kChannelMax);
  cairo_rectangle(state_->cairo, x, y, width, height);
  cairo_fill(state_->cairo);
  state_->drawn = true;
}

void KPdfDocument::EndPage() {
  if (!state_->cairo || !state_->drawn) return;
  cairo_show_page(state_->cairo);
  state_->drawn = false;
}

bool KPdfDocument::Close() {
  if (!state_->cairo) return false;
  EndPage();
  cairo_destroy(state_->cairo);
  cairo_surface_finish(state_->surface);
  const bool written = cairo_surface_status(state_->surface) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(state_->surface);
  state_->cairo = nullptr;
  state_->surface = nullptr;
  if (!written) std::remove(state_->path.c_str());
  return written;
}
