#include "tags/FileStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tags/TextConvert.h"
#include "tests/tags/TagTestBytes.h"

TEST(FileStream, OpensExistingFilesReadOnlyAndCreatesWritableOnes) {
  TempDir dir;
  CFileStream stream;
  EXPECT_EQ(stream.OpenA(dir.File("none").c_str(), false), E_FAIL);
  EXPECT_EQ(stream.IsOpen(), 0);
  EXPECT_EQ(stream.OpenA(dir.File("none").c_str(), true), S_OK);
  EXPECT_TRUE(FileExists(dir.File("none")));

  WriteTestFile(dir.File("full"), Bytes(100, 1));
  EXPECT_EQ(stream.OpenA(dir.File("full").c_str(), true), S_OK);  // emptied
  EXPECT_EQ(stream.Size(), 0);
  EXPECT_EQ(stream.OpenA(dir.Path().c_str(), false), E_FAIL);  // a folder is no file
  EXPECT_EQ(stream.ExistsA(dir.Path().c_str()), 0);
  EXPECT_EQ(stream.ExistsA(dir.File("full").c_str()), 1);
  EXPECT_EQ(stream.ExistsA(dir.File("nothing").c_str()), 0);
}

TEST(FileStream, KeepsTheNameInTheFormItWasGiven) {
  TempDir dir;
  const std::string path = dir.File("\xED\x95\x9C.mp3");  // "한.mp3"
  WriteTestFile(path, Bytes(10, 0));
  const std::u16string wide = *Utf8ToWide(path);
  CFileStream stream;
  ASSERT_EQ(stream.OpenW(wide.c_str(), false), S_OK);
  EXPECT_EQ(stream.GetNameA(), nullptr);
  EXPECT_EQ(std::u16string(stream.GetNameW()), wide);
  EXPECT_EQ(stream.ExistsW(wide.c_str()), 1);
  ASSERT_EQ(stream.OpenA(path.c_str(), false), S_OK);
  EXPECT_EQ(stream.GetNameW(), nullptr);
  EXPECT_STREQ(stream.GetNameA(), path.c_str());
  stream.Close();
  EXPECT_EQ(stream.GetNameA(), nullptr);
}

TEST(FileStream, ReadAtTheEndSetsEofUntilTheNextSeek) {
  TempDir dir;
  WriteTestFile(dir.File("f"), Str("abcdef"));
  CFileStream stream;
  ASSERT_EQ(stream.OpenA(dir.File("f").c_str(), false), S_OK);
  char buffer[10];
  uint32_t got = 0;
  EXPECT_TRUE(stream.Read(buffer, 10, &got));
  EXPECT_EQ(got, 6u);
  EXPECT_EQ(stream.IsEof(), 0);
  EXPECT_TRUE(stream.Read(buffer, 10, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(stream.IsEof(), 1);
  EXPECT_EQ(stream.Seek(-2, FILE_END), 4);
  EXPECT_EQ(stream.IsEof(), 0);
  EXPECT_EQ(stream.Seek(-10, FILE_CURRENT), kInvalidPosition);
  EXPECT_EQ(stream.Tell(), 4);
}

TEST(FileStream, AFileHeldOpenCanBeDeleted) {
  TempDir dir;
  WriteTestFile(dir.File("f"), Str("abc"));
  CFileStream stream;
  ASSERT_EQ(stream.OpenA(dir.File("f").c_str(), false), S_OK);
  EXPECT_EQ(::unlink(dir.File("f").c_str()), 0);
  char buffer[3];
  uint32_t got = 0;
  EXPECT_TRUE(stream.Read(buffer, 3, &got));
  EXPECT_EQ(got, 3u);
}

TEST(FileStream, FirstWriteReopensAReadOnlyStreamForWriting) {
  TempDir dir;
  WriteTestFile(dir.File("f"), Str("abcdef"));
  CFileStream stream;
  ASSERT_EQ(stream.OpenA(dir.File("f").c_str(), false), S_OK);
  stream.Seek(2, FILE_BEGIN);
  uint32_t put = 0;
  EXPECT_TRUE(stream.Write("XY", 2, &put));
  EXPECT_EQ(put, 2u);
  EXPECT_EQ(stream.Tell(), 4);
  stream.Close();
  EXPECT_EQ(ReadFileBytes(dir.File("f")), Str("abXYef"));

  CFileStream closed;
  EXPECT_FALSE(closed.Write("X", 1, &put));
}

TEST(FileStream, CountsReferencesAndAnswersItsInterfaces) {
  auto* stream = new CFileStream;
  void* object = nullptr;
  EXPECT_EQ(stream->QueryInterface(IID_IFileStream, &object), S_OK);
  EXPECT_EQ(object, static_cast<IFileStream*>(stream));
  EXPECT_EQ(stream->QueryInterface(IID_IUnknown, &object), S_OK);
  const InterfaceId other = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
  EXPECT_EQ(stream->QueryInterface(other, &object), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(stream->Release(), 2u);
  EXPECT_EQ(stream->Release(), 1u);
  EXPECT_EQ(stream->Release(), 0u);  // deleted (the sanitizer build checks)
}

TEST(FileStream, HandlesOffsetsBeyondFourGiB) {
  TempDir dir;
  const std::string path = dir.File("big");
  const int64_t size = (int64_t{5} << 30) + 3;
  const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  const bool sparse = ::ftruncate(fd, size) == 0 && ::pwrite(fd, "xyz", 3, size - 3) == 3;
  ::close(fd);
  if (!sparse) GTEST_SKIP() << "no sparse 5 GiB file here";
  CFileStream stream;
  ASSERT_EQ(stream.OpenA(path.c_str(), false), S_OK);
  EXPECT_EQ(stream.Size(), size);
  EXPECT_EQ(stream.Seek(-3, FILE_END), size - 3);
  char buffer[3];
  uint32_t got = 0;
  ASSERT_TRUE(stream.Read(buffer, 3, &got));
  EXPECT_EQ(std::string(buffer, got), "xyz");
  EXPECT_EQ(stream.Tell(), size);
}
