#include "tags/TagTransfer.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <iterator>

#include "tags/FileStream.h"
#include "tags/RewriteWithTags.h"
#include "tests/tags/TagTestBytes.h"

namespace {

const Bytes kAudio = FakeAudio(3000);

Bytes V23Tag(std::string_view title, std::string_view track) {
  return Tag(3, Cat({Frame23("TIT2", TextData(0, Str(title))),
                     Frame23("TRCK", TextData(0, Str(track)))}));
}

size_t TagLength(const Bytes& file) {
  return 10 + ((file[6] << 21) | (file[7] << 14) | (file[8] << 7) | file[9]);
}

// A limit on the size of the files this process writes (SIGXFSZ ignored,
// so a write past it fails with EFBIG), lifted again at the end of scope.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(size_t bytes) : m_oldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &m_old);
    const struct rlimit limit = {static_cast<rlim_t>(bytes), m_old.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
  }

 private:
  struct rlimit m_old = {};
  void (*m_oldHandler)(int);
};

struct Files {
  TempDir dir;
  std::string source = dir.File("source.mp3");
  std::string target = dir.File("target.mp3");
  std::string temp = target + ".vuxtemp";
};

}  // namespace

TEST(TagTransfer, ReadsOneSourceOnly) {
  Files f;
  WriteTestFile(f.source, Cat({V23Tag("one", "1"), kAudio}));
  WriteTestFile(f.target, Cat({V23Tag("two", "2"), kAudio}));
  CTagTransfer transfer;
  EXPECT_FALSE(transfer.WriteTo(f.target.c_str(), true, true));  // before ReadFrom
  ASSERT_TRUE(transfer.ReadFrom(f.source.c_str()));
  EXPECT_FALSE(transfer.ReadFrom(f.target.c_str()));
  EXPECT_EQ(*transfer.Fields().Find(TAG_TITLE)->narrow, "one");

  CTagTransfer missing;
  EXPECT_FALSE(missing.ReadFrom(f.dir.File("none.mp3").c_str()));
  EXPECT_FALSE(missing.SourceOpened());

  WriteTestFile(f.dir.File("bare.mp3"), kAudio);
  CTagTransfer bare;
  EXPECT_FALSE(bare.ReadFrom(f.dir.File("bare.mp3").c_str()));
  EXPECT_TRUE(bare.SourceOpened());
}

TEST(TagTransfer, OrdersFieldsByFirstStoringWhenBothTagsArePresent) {
  const Bytes v1 = V1Record("v1 title", "", "", "1999", "v1 comment", 0, 255);
  const Bytes v2 = Tag(3, Cat({Frame23("TRCK", TextData(0, Str("5"))),
                               Frame23("TPE1", TextData(0, Str("v2 artist"))),
                               Frame23("TIT2", TextData(0, Str("v2 title")))}));
  const FieldTexts fields = ReadFieldTexts(Cat({v2, kAudio, v1}));
  const FieldTexts expected = {{TAG_TITLE, "v2 title"},
                               {TAG_YEAR, "1999"},
                               {TAG_COMMENT, "v1 comment"},
                               {TAG_ARTIST, "v2 artist"},
                               {TAG_TRACK, "5"}};
  EXPECT_EQ(fields, expected);
}

TEST(TagTransfer, RewritesWithANewTagAndRecord) {
  Files f;
  WriteTestFile(f.source, Cat({Tag(3, Frame23("TIT2", TextData(0, Str("v2")))), kAudio,
                                V1Record("v1", "art", "", "", "", 3, 17)}));
  // The target's content has no ID3v1 record: it grows by 128 bytes.
  WriteTestFile(f.target, kAudio);
  CTagTransfer transfer;
  ASSERT_TRUE(transfer.ReadFrom(f.source.c_str()));
  ASSERT_TRUE(transfer.WriteTo(f.target.c_str(), true, true));
  const Bytes out = ReadFileBytes(f.target);
  const size_t tag = TagLength(out);
  ASSERT_EQ(out.size(), tag + kAudio.size() + 128);
  const Bytes frames = Cat({Frame23("TIT2", TextData(3, Str("v2"))), Frame23("TPE1", TextData(3, Str("art"))),
                            Frame23("TCON", TextData(3, Str("(17)Rock"))), Frame23("TRCK", TextData(3, Str("3")))});
  EXPECT_EQ(Bytes(out.begin() + 10, out.begin() + 10 + frames.size()), frames);
  EXPECT_EQ(Bytes(out.begin() + tag, out.end() - 128), kAudio);
  EXPECT_EQ(Bytes(out.end() - 128, out.end()), V1Record("v2", "art", "", "", "", 3, 17));
  EXPECT_FALSE(FileExists(f.temp));

  // A content that ends with a record keeps its length apart from the new tag.
  WriteTestFile(f.target, Cat({kAudio, V1Record("x", "", "", "", "", 0, 0)}));
  ASSERT_TRUE(transfer.WriteTo(f.target.c_str(), true, true));
  const Bytes again = ReadFileBytes(f.target);
  EXPECT_EQ(again.size(), TagLength(again) + kAudio.size() + 128);
  EXPECT_EQ(Bytes(again.end() - 128, again.end()), V1Record("v2", "art", "", "", "", 3, 17));
}

TEST(TagTransfer, FlagsLeaveEmptyTagsOfTheirKind) {
  Files f;
  WriteTestFile(f.target, kAudio);
  CFileStream stream;
  CTagFieldList fields;
  fields.SetText(TAG_TITLE, "t");
  ASSERT_EQ(stream.OpenA(f.target.c_str(), false), S_OK);
  EXPECT_EQ(RewriteWithTags(&stream, fields, false, false), E_FAIL);
  ASSERT_EQ(RewriteWithTags(&stream, fields, true, false), S_OK);
  Bytes out = ReadFileBytes(f.target);
  EXPECT_EQ(TagLength(out), 38u);
  EXPECT_EQ(out[out.size() - 125], 't');
  EXPECT_EQ(stream.IsOpen(), 1);  // reopened on the new file
  EXPECT_STREQ(stream.GetNameA(), f.target.c_str());
  ASSERT_EQ(RewriteWithTags(&stream, fields, false, true), S_OK);
  out = ReadFileBytes(f.target);
  EXPECT_EQ(Bytes(out.end() - 128, out.end()), V1Record("", "", "", "", "", 0, 255));
  EXPECT_EQ(Bytes(out.begin() + 10, out.begin() + 14), Str("TIT2"));
}

// A file left under the temporary name is not ours: it stays as it is and
// another name is used. A content shorter than an ID3v1 record still gets
// one appended.
TEST(TagTransfer, LeavesAFileUnderTheTemporaryNameAloneAndKeepsPermissions) {
  Files f;
  WriteTestFile(f.source, Cat({V23Tag("t", "1"), kAudio}));
  const Bytes tiny = FakeAudio(40);
  WriteTestFile(f.target, tiny);
  WriteTestFile(f.temp, Str("leftover"));
  ::chmod(f.target.c_str(), 0640);
  CTagTransfer transfer;
  ASSERT_TRUE(transfer.ReadFrom(f.source.c_str()));
  ASSERT_TRUE(transfer.WriteTo(f.target.c_str(), true, true));
  EXPECT_EQ(ReadFileBytes(f.temp), Str("leftover"));
  const Bytes out = ReadFileBytes(f.target);
  ASSERT_EQ(out.size(), TagLength(out) + tiny.size() + 128);
  EXPECT_EQ(Bytes(out.end() - 128, out.end()), V1Record("t", "", "", "", "", 1, 255));
  struct stat info;
  ASSERT_EQ(::stat(f.target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.Path()), {}), 3);
}

TEST(TagTransfer, EveryFailureLeavesTheTargetAsItWas) {
  Files f;
  WriteTestFile(f.source, Cat({V23Tag("t", "1"), kAudio}));
  CTagTransfer transfer;
  ASSERT_TRUE(transfer.ReadFrom(f.source.c_str()));
  auto expectUnchanged = [&](const Bytes& before, const char* why) {
    SCOPED_TRACE(why);
    EXPECT_FALSE(transfer.WriteTo(f.target.c_str(), true, true));
    EXPECT_EQ(ReadFileBytes(f.target), before);
    EXPECT_FALSE(FileExists(f.temp) && !std::filesystem::is_directory(f.temp));
  };

  // Target without write permission.
  WriteTestFile(f.target, kAudio);
  ::chmod(f.target.c_str(), 0444);
  expectUnchanged(kAudio, "read-only target");
  ::chmod(f.target.c_str(), 0644);

  // A folder where the target should be.
  std::filesystem::remove(f.target);
  std::filesystem::create_directory(f.target);
  EXPECT_FALSE(transfer.WriteTo(f.target.c_str(), true, true));
  EXPECT_TRUE(std::filesystem::is_directory(f.target));
}

TEST(TagTransfer, FailureRestoresTheStreamPosition) {
  Files f;
  const Bytes tiny = FakeAudio(40);
  WriteTestFile(f.target, tiny);
  CFileStream stream;
  ASSERT_EQ(stream.OpenA(f.target.c_str(), false), S_OK);
  stream.Seek(7, FILE_BEGIN);
  {
    // Room for the new tag and the audio, not for the record: the failure
    // comes after the stream was closed.
    FileSizeLimit limit(38 + tiny.size() + 10);
    EXPECT_EQ(RewriteWithTags(&stream, CTagFieldList(), true, true), E_FAIL);
  }
  EXPECT_EQ(stream.IsOpen(), 1);
  EXPECT_EQ(stream.Tell(), 7);
  EXPECT_EQ(ReadFileBytes(f.target), tiny);
  EXPECT_FALSE(FileExists(f.temp));
}

TEST(TagTransfer, UnwritableFolderFailsCleanly) {
  if (::geteuid() == 0) GTEST_SKIP() << "folder permissions do not bind the superuser";
  Files f;
  WriteTestFile(f.source, Cat({V23Tag("t", "1"), kAudio}));
  WriteTestFile(f.target, kAudio);
  ::chmod(f.dir.Path().c_str(), 0555);
  CTagTransfer transfer;
  ASSERT_TRUE(transfer.ReadFrom(f.source.c_str()));
  EXPECT_FALSE(transfer.WriteTo(f.target.c_str(), true, true));
  ::chmod(f.dir.Path().c_str(), 0755);
  EXPECT_EQ(ReadFileBytes(f.target), kAudio);
  EXPECT_FALSE(FileExists(f.temp));
}

TEST(TagTransfer, RewritingAFileWithItsOwnTagsIsStable) {
  Files f;
  const Bytes cover = Cat({{0}, Str("image/png"), {0, 3, 0}, Bytes(5000, 0xFF)});
  WriteTestFile(f.target, Cat({Tag(3, Cat({Frame23("APIC", cover), Frame23("TIT2", TextData(0, Str("t")))})),
                               kAudio, V1Record("t", "", "", "", "", 2, 17)}));
  Bytes previous;
  for (int round = 0; round < 3; ++round) {
    CTagTransfer transfer;
    ASSERT_TRUE(transfer.ReadFrom(f.target.c_str()));
    ASSERT_TRUE(transfer.WriteTo(f.target.c_str(), true, true));
    const Bytes now = ReadFileBytes(f.target);
    // The old tag, cover included, is replaced rather than copied after the new one.
    EXPECT_EQ(now.size(), TagLength(now) + kAudio.size() + 128);
    if (round > 0) {
      EXPECT_EQ(now, previous);
    }
    previous = now;
  }
}
