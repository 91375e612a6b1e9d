// One libFuzzer target: TAFU_FUZZ_FEED names the reader of FuzzReaders.h it feeds.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzReaders.h"
#include "services/KMessage.h"

namespace {

std::string& Scratch() {
  static std::string folder;
  return folder;
}

void RemoveScratch() {
  std::error_code error;
  std::filesystem::remove_all(Scratch(), error);
}

void IgnoreMessage(const std::string&, const std::string&) {}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tafu-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  Scratch() = pattern;
  std::atexit(RemoveScratch);
  tafufuzz::UseScratchFolder(Scratch());
  SetMessageHandler(IgnoreMessage);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tafufuzz::TAFU_FUZZ_FEED(data, size);
  return 0;
}
