// Developer logs "infos.log", "errors.log", "fatals.log" and "debug.log" in the program folder.
#pragma once

#include <cstdio>
#include <string>

enum KLogLevel { KLOG_INFO = 1, KLOG_ERROR = 2, KLOG_FATAL = 3, KLOG_DEBUG = 4 };

class KEventLog {
 public:
  // Mode 1 keeps the four files open (truncated at construction); any other
  // mode opens, appends to and closes the file for each message.
  explicit KEventLog(int mode = 2);
  ~KEventLog();
  KEventLog(const KEventLog&) = delete;
  KEventLog& operator=(const KEventLog&) = delete;

  void LogMessage(int level, const std::string& text);
  void SetInfos(bool on) { enabled_[0] = on; }
  void SetErrors(bool on) { enabled_[1] = on; }
  void SetFatals(bool on) { enabled_[2] = on; }
  void SetDebug(bool on) { enabled_[3] = on; }
  void DeleteLogs();

 private:
  static const char* FileName(int index);
  bool enabled_[4] = {false, true, true, true};
  int mode_;
  std::FILE* streams_[4] = {};
};
