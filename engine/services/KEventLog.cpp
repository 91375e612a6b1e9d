#include "KEventLog.h"

#include "KPaths.h"

namespace {
constexpr int kLevels = 4;
}

const char* KEventLog::FileName(int index) {
  static const char* const names[kLevels] = {"infos.log", "errors.log", "fatals.log", "debug.log"};
  return names[index];
}

KEventLog::KEventLog(int mode) : mode_(mode) {
  if (mode_ != 1) return;
  for (int i = 0; i < kLevels; ++i) streams_[i] = std::fopen(MakePath(FileName(i)).c_str(), "wt");
}

KEventLog::~KEventLog() {
  for (std::FILE*& stream : streams_) {
    if (stream) std::fclose(stream);
    stream = nullptr;
  }
}

void KEventLog::LogMessage(int level, const std::string& text) {
  if (level < KLOG_INFO || level > KLOG_DEBUG) return;
  const int index = level - 1;
  if (!enabled_[index]) return;
  if (mode_ == 1) {
    if (streams_[index]) std::fprintf(streams_[index], "%s\n", text.c_str());
    return;
  }
  std::FILE* file = std::fopen(MakePath(FileName(index)).c_str(), "a+");
  if (!file) return;
  std::fprintf(file, "%s\n", text.c_str());
  std::fclose(file);
}

void KEventLog::DeleteLogs() {
  for (int i = 0; i < kLevels; ++i) std::remove(MakePath(FileName(i)).c_str());
}
