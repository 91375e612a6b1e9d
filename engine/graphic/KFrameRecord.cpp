#include "KFrameRecord.h"

#include <utility>

namespace {

struct FrameRecord {
  std::vector<KDrawCommand> current;
  std::vector<KDrawCommand> presented;
  // How many commands of the current frame have reached GL.
  size_t drawn = 0;
  uint64_t version = 0;
};

FrameRecord record;

}  // namespace

void RecordDrawing(const KDrawCommand& command) { record.current.push_back(command); }

void FlushFrame() {
  // A command may itself flush (a picture that binds its texture): step the count first.
  while (record.drawn < record.current.size()) {
    const KDrawCommand command = record.current[record.drawn++];
    command.draw(command);
  }
}

void DiscardRecordedFrame() {
  record.current.clear();
  record.presented.clear();
  record.drawn = 0;
}

void RedrawNextFrame() { record.presented.clear(); }

uint64_t NextPictureVersion() { return ++record.version; }

bool EndRecordedFrame(bool presentAnyway) {
  const bool same = record.current == record.presented;
  // A frame partly drawn already is finished, so that the target holds it whole.
  if (!same || presentAnyway || record.drawn > 0) FlushFrame();
  record.presented = std::move(record.current);
  record.current.clear();
  record.drawn = 0;
  return !same || presentAnyway;
}
