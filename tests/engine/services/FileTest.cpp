#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "TestSupport.h"
#include "services/KFile.h"

namespace {

// A tar entry: 512-byte header with the name, the octal size and the type, then the data padded to 512.
std::string TarEntry(const std::string& name, const std::string& data, char type = '0') {
  std::string header(512, '\0');
  std::memcpy(header.data(), name.data(), std::min<size_t>(name.size(), 100));
  char size[12];
  std::snprintf(size, sizeof size, "%011o", static_cast<unsigned>(data.size()));
  std::memcpy(header.data() + 124, size, 11);
  header[156] = type;
  std::string padded = data;
  padded.resize((data.size() + 511) / 512 * 512, '\0');
  return header + padded;
}

TEST(File, ResultCodes) {
  tafutest::TempFolder temp;
  tafutest::WriteFile(temp / "ten.bin", "0123456789");

  KFile file;
  char buffer[32] = {};
  EXPECT_EQ(file.Read(buffer, 1), KFILE_ALREADY_OPEN);
  EXPECT_EQ(file.Seek(0, 0), KFILE_ALREADY_OPEN);
  EXPECT_EQ(file.Open(temp / "ten.bin", 7), KFILE_UNSUPPORTED);
  EXPECT_EQ(file.Open(temp / "missing.bin"), KFILE_CANNOT_OPEN);
  ASSERT_EQ(file.Open(temp / "ten.bin"), KFILE_OK);
  EXPECT_EQ(file.Open(temp / "ten.bin"), KFILE_ALREADY_OPEN);
  EXPECT_EQ(file.Seek(5, 0), KFILE_UNSUPPORTED);
  EXPECT_EQ(file.Read(buffer, 0), KFILE_SHORT_READ);

  EXPECT_EQ(file.Seek(2, 0), KFILE_OK);
  int64_t size = 0;
  file.Tell(size);
  EXPECT_EQ(size, 10);
  EXPECT_EQ(file.Seek(0, 3), KFILE_OK);
  EXPECT_EQ(file.Read(buffer, 4), KFILE_OK);
  EXPECT_EQ(std::string(buffer, 4), "3456");
  EXPECT_EQ(file.Seek(1, -2), KFILE_OK);
  EXPECT_EQ(file.Read(buffer, 2), KFILE_OK);
  EXPECT_EQ(std::string(buffer, 2), "56");
  EXPECT_EQ(file.Read(buffer, 20), KFILE_SHORT_READ);
  EXPECT_EQ(file.Close(), KFILE_OK);
  EXPECT_FALSE(file.IsOpen());
}

TEST(File, SubFilesShareTheParentsStream) {
  tafutest::TempFolder temp;
  tafutest::WriteFile(temp / "all.bin", "headerBODYtail");
  KFile parent;
  ASSERT_EQ(parent.Open(temp / "all.bin"), KFILE_OK);
  parent.Seek(0, 6);
  KFile body;
  ASSERT_EQ(body.OpenSubFile(parent, 4), KFILE_OK);
  EXPECT_EQ(body.OpenSubFile(parent, 4), KFILE_ALREADY_OPEN);
  body.Seek(2, 0);
  int64_t end = 0;
  body.Tell(end);
  EXPECT_EQ(end, 4);
  body.Seek(0, 0);
  char buffer[4];
  ASSERT_EQ(body.Read(buffer, 4), KFILE_OK);
  EXPECT_EQ(std::string(buffer, 4), "BODY");
  body.Close();
  // Closing the sub-file leaves the parent's stream open.
  EXPECT_EQ(parent.Read(buffer, 4), KFILE_OK);
  EXPECT_EQ(std::string(buffer, 4), "tail");

  // Reads end where the sub-file ends, even one of no bytes at all.
  parent.Seek(0, 6);
  ASSERT_EQ(body.OpenSubFile(parent, 4), KFILE_OK);
  char more[8] = {};
  EXPECT_EQ(body.Read(more, 8), KFILE_SHORT_READ);
  EXPECT_EQ(std::string(more, 5), std::string("BODY\0", 5));
  body.Close();
  parent.Seek(0, 6);
  KFile empty;
  ASSERT_EQ(empty.OpenSubFile(parent, 0), KFILE_OK);
  char none[1] = {'x'};
  EXPECT_EQ(empty.Read(none, 1), KFILE_SHORT_READ);
  EXPECT_EQ(none[0], 'x');

  KFile closedParent;
  KFile orphan;
  EXPECT_EQ(orphan.OpenSubFile(closedParent, 1), KFILE_ALREADY_OPEN);
}

TEST(File, AFolderOrAFileTooLargeForAnyAssetIsNotRead) {
  tafutest::TempFolder temp;
  std::filesystem::create_directories(temp.Path() / "menu.png");
  tafutest::WriteHugeFile(temp / "huge.ogg", 200 << 20);
  KFile file;
  EXPECT_EQ(file.Open(temp / "menu.png"), KFILE_CANNOT_OPEN);
  std::string bytes;
  EXPECT_FALSE(KFile::ReadWhole(temp / "menu.png", bytes));
  EXPECT_FALSE(KFile::ReadWhole(temp / "huge.ogg", bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST(File, TarArchiveServesItsFilesBeforeTheDisk) {
  tafutest::TempFolder temp;
  // Two blocks of data, the second only zeros after the file's end: a reader that does not
  // skip the whole second block takes it for the end of the archive.
  const std::string big = std::string(512, 'b') + std::string(188, '\0');
  tafutest::WriteFile(temp / "pack.tar", TarEntry("img/bg", "", '5') + TarEntry("img/bg/menu.png", big) +
                                             TarEntry("Setup.INI", "[DEBUG]\r\nSHOWFPS=1\r\n") +
                                             std::string(1024, '\0'));
  {
    KTarSource archive;
    ASSERT_EQ(archive.RegisterArchive(temp / "pack.tar"), KFILE_OK);

    std::string text;
    ASSERT_TRUE(KFile::ReadWhole("img\\bg\\menu.png", text));
    EXPECT_EQ(text, big);
    ASSERT_TRUE(KFile::ReadWhole("setup.ini", text));
    EXPECT_EQ(text, "[DEBUG]\r\nSHOWFPS=1\r\n");
    // A folder entry is not a file; a name it lacks falls through to the disk.
    EXPECT_FALSE(KFile::ReadWhole("img/bg", text));
    tafutest::WriteFile(temp / "disk.txt", "disk");
    ASSERT_TRUE(KFile::ReadWhole(temp / "disk.txt", text));
    EXPECT_EQ(text, "disk");
  }
  std::string text;
  EXPECT_FALSE(KFile::ReadWhole("setup.ini", text));

  KTarSource missing;
  EXPECT_EQ(missing.RegisterArchive(temp / "none.tar"), KFILE_CANNOT_OPEN);

  // A truncated archive ends the search with its short read.
  tafutest::WriteFile(temp / "cut.tar", TarEntry("a.txt", "abc").substr(0, 300));
  KTarSource cut;
  ASSERT_EQ(cut.RegisterArchive(temp / "cut.tar"), KFILE_OK);
  KFile asking;
  EXPECT_EQ(cut.Lookup("a.txt", asking), KFILE_SHORT_READ);
}

}  // namespace
