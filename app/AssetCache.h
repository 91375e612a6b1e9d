// The pictures, sounds and music of one screen, addressed by the order they were added in,
// and the process-wide cache of what every screen shares (cursors, common icons and sounds).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphic/KGraphic.h"
#include "sound/KSample.h"

// Owns everything it loads. A file that cannot be loaded still takes its index: its
// picture draws nothing, its sound stays silent. Adding a file twice loads it twice.
// Destruction releases the pictures, then the sounds, then the music (a playing sound
// stops). Accessing an index that was never added throws std::out_of_range.
class AssetCache {
 public:
  AssetCache() = default;
  ~AssetCache();
  AssetCache(const AssetCache&) = delete;
  AssetCache& operator=(const AssetCache&) = delete;

  // name is a game file name such as "img\ico\exit.png". smooth selects linear filtering,
  // else nearest. Each add returns the new asset's index.
  size_t AddPicture(const std::string& name, bool smooth);
  size_t AddSound(const std::string& name);
  size_t AddMusic(const std::string& name);

  KGraphic* Picture(size_t index) const;
  KSample* Sound(size_t index) const;
  KSample* Music(size_t index) const;

  size_t PictureCount() const { return pictures_.size(); }
  size_t SoundCount() const { return sounds_.size(); }
  size_t MusicCount() const { return music_.size(); }

  // Releases everything, in the order of the destructor.
  void Clear();

 private:
  std::vector<std::unique_ptr<KGraphic>> pictures_;
  std::vector<std::unique_ptr<KSample>> sounds_;
  std::vector<std::unique_ptr<KSample>> music_;
};

// Lives for the whole run; filled once at start-up by LoadSharedAssets.
extern AssetCache SharedAssets;

// Picture indices of SharedAssets.
constexpr size_t kSharedArrowCursor = 0;
constexpr size_t kSharedPenCursor = 1;
constexpr size_t kSharedBucketCursor = 2;
constexpr size_t kSharedPickerCursor = 3;
constexpr size_t kSharedEraserCursor = 4;
constexpr size_t kSharedExit = 5;
constexpr size_t kSharedStar = 6;
constexpr size_t kSharedStone = 7;
constexpr size_t kSharedTest = 8;
constexpr size_t kSharedTestTrue = 9;
constexpr size_t kSharedTestFalse = 10;

// Sound indices of SharedAssets.
constexpr size_t kSharedClickSound = 0;
constexpr size_t kSharedToolSound = 1;
constexpr size_t kSharedSlideSound = 2;
constexpr size_t kSharedSwapSound = 3;
constexpr size_t kSharedTestTrueSound = 4;
constexpr size_t kSharedTestFalseSound = 5;

// Loads the shared pictures and sounds in the order of the indices above (needs the
// window open, since pictures are textures).
void LoadSharedAssets();
