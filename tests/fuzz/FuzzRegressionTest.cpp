#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "FuzzReaders.h"
#include "GameState.h"
#include "TestSupport.h"
#include "graphic/KPngCheck.h"
#include "services/KFile.h"
#include "services/KPaths.h"
#include "TestPaths.h"

namespace {

namespace fs = std::filesystem;

const fs::path kInputs = fs::path(tafutest::SourceDir()) / "tests" / "fuzz" / "inputs";
const fs::path kSeeds = fs::path(tafutest::SourceDir()) / "fuzz" / "seeds";

const uint8_t* Bytes(const std::string& file) { return reinterpret_cast<const uint8_t*>(file.data()); }

// The readers that take files get a temporary program and player folder.
class FuzzRegression : public ::testing::Test {
 protected:
  void SetUp() override { tafufuzz::UseScratchFolder(scratch_.Path().string()); }
  void TearDown() override { tafutest::ResetGameState(); }

 private:
  tafutest::TempFolder scratch_;
};

// A tar header whose size field is written in octal, padded to whole blocks.
std::string TarEntry(const std::string& name, const std::string& sizeField, const std::string& content) {
  std::string header(512, '\0');
  header.replace(0, name.size(), name);
  header.replace(124, sizeField.size(), sizeField);
  header[156] = '0';
  std::string padded = content;
  padded.resize((content.size() + 511) / 512 * 512, '\0');
  return header + padded;
}

TEST_F(FuzzRegression, EverySavedInputIsReadWithoutHarm) {
  int32_t fed = 0;
  for (const auto& folder : fs::directory_iterator(kInputs)) {
    if (!folder.is_directory()) continue;
    const std::string reader = folder.path().filename().string();
    for (const auto& input : fs::directory_iterator(folder.path())) {
      SCOPED_TRACE(input.path().string());
      const std::string file = tafutest::ReadFile(input.path().string());
      if (reader == "tar") tafufuzz::FeedTar(Bytes(file), file.size());
      else if (reader == "picture_decode") tafufuzz::FeedPictureDecoders(Bytes(file), file.size());
      else if (reader == "picture_file") tafufuzz::FeedPictureFile(Bytes(file), file.size());
      else if (reader == "wave") tafufuzz::FeedWave(Bytes(file), file.size());
      else if (reader == "ogg") tafufuzz::FeedOgg(Bytes(file), file.size());
      else if (reader == "ini") tafufuzz::FeedIni(Bytes(file), file.size());
      else if (reader == "settings") tafufuzz::FeedSettings(Bytes(file), file.size());
      else ADD_FAILURE() << "no reader is called " << reader;
      ++fed;
    }
  }
  EXPECT_GT(fed, 0);
}

TEST_F(FuzzRegression, TarEntryLongerThanTheArchiveIsNotServed) {
  // Saved from the fuzzer: an entry whose size field claims gigabytes made the reader
  // ask for that much memory. The two whole entries before it are still served.
  const std::string saved = tafutest::ReadFile((kInputs / "tar" / "entry_larger_than_archive").string());
  EXPECT_EQ(tafufuzz::FeedTar(Bytes(saved), saved.size()), 2);

  const std::string archive = TarEntry("packed/setup.ini", "00000000003", "abc") +
                              TarEntry("packed/game/1.tga", "77777777777", "short") + std::string(1024, '\0');
  tafutest::WriteFile(MakePath("made.tar"), archive);
  KTarSource source;
  ASSERT_EQ(source.RegisterArchive(MakePath("made.tar")), KFILE_OK);
  std::string whole;
  ASSERT_TRUE(KFile::ReadWhole("packed/setup.ini", whole));
  EXPECT_EQ(whole, "abc");
  KFile asking;
  EXPECT_EQ(source.Lookup("packed/game/1.tga", asking), KFILE_CANNOT_OPEN);
  EXPECT_FALSE(asking.IsOpen());
  EXPECT_FALSE(KFile::ReadWhole("packed/game/1.tga", whole));
}

TEST_F(FuzzRegression, JpegsWithUnsoundHuffmanTablesAreRefusedAndGoodOnesStillDecode) {
  // Saved from the fuzzer: a table of more than 256 codes, which stb_image 2.27 writes
  // past the end of its code table for; and a progressive scan decoding with an AC table
  // never defined, for which it reads memory it never set. This program carries its own
  // stb_image, so the sanitizer build sees such reads and writes.
  for (const char* name : {"jpeg_huffman_table_too_long", "jpeg_scan_with_undefined_table"}) {
    SCOPED_TRACE(name);
    const std::string saved = tafutest::ReadFile((kInputs / "picture_decode" / name).string());
    EXPECT_EQ(tafufuzz::FeedPictureDecoders(Bytes(saved), saved.size()), 0);
  }

  for (const char* name : {"tiny.jpg", "progressive.jpg", "rose_progressive.jpg", "rose_baseline.jpg",
                           "rose_grey_progressive.jpg", "tiny.png", "tiny24.bmp", "tiny.tga"}) {
    SCOPED_TRACE(name);
    const std::string good = tafutest::ReadFile((kSeeds / "picture_decode" / name).string());
    EXPECT_EQ(tafufuzz::FeedPictureDecoders(Bytes(good), good.size()), 1);
  }
}

TEST_F(FuzzRegression, PngsWhoseChunksRunPastTheFileAreRefusedBeforeDecoding) {
  // Saved from the fuzzer: 81 bytes whose second IDAT claims a gigabyte, for which
  // stb_image 2.27 asked for two gigabytes before finding the data missing.
  const std::string saved = tafutest::ReadFile((kInputs / "picture_decode" / "png_idat_longer_than_file").string());
  const std::string good = tafutest::ReadFile((kSeeds / "picture_decode" / "tiny.png").string());
  const std::pair<std::string, bool> cases[] = {
      {saved, false}, {good, true}, {good + "bytes after the end", true}, {good.substr(0, good.size() - 30), false}};
  for (const auto& [file, fits] : cases) EXPECT_EQ(PngChunksFitTheFile(Bytes(file), file.size()), fits) << file.size();
}

}  // namespace
