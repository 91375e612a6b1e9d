#include "KPdf.h"

// The browser prints through its own dialog: no PDF is written here.

KPaperSize PaperSizeNamed(const std::string&) { return {595.276, 841.89}; }
bool IsPaperName(const std::string& name) { return name == "a4"; }

struct KPdfDocument::State {};

KPdfDocument::KPdfDocument() : state_(std::make_unique<State>()) {}
KPdfDocument::~KPdfDocument() = default;
bool KPdfDocument::Open(const std::string&, const KPaperSize&) { return false; }
void KPdfDocument::FillRect(double, double, double, double, uint32_t) {}
void KPdfDocument::EndPage() {}
bool KPdfDocument::Close() { return false; }
