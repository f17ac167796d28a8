// Damaged and hostile tags: truncation at every offset, sizes past the end,
// huge and zero sizes, random damage. Nothing may crash, hang or allocate
// more than the input holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <optional>
#include <random>

#include "tags/FileStream.h"
#include "tags/Id3v2Reader.h"
#include "tags/TagTransfer.h"
#include "tags/TextConvert.h"
#include "tests/tags/TagTestBytes.h"

namespace {
std::atomic<bool> g_measuring{false};
std::atomic<size_t> g_largest{0};
}  // namespace

// Every allocation of this test program passes here; while measuring, the
// largest single request is kept.
void* operator new(size_t size) {
  if (g_measuring.load(std::memory_order_relaxed)) {
    size_t seen = g_largest.load(std::memory_order_relaxed);
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
  }
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// The pair replaces the global allocator as a whole, so free() matches.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

// Reads the file's tags and rewrites a copy of it; returns the largest
// single allocation made meanwhile. `read` receives the fields read, and
// `readBack` those of the copy when the rewrite succeeded.
size_t ReadAndRewrite(const Bytes& bytes, bool rewrite = true, FieldTexts* read = nullptr,
                      std::optional<FieldTexts>* readBack = nullptr) {
  TempDir dir;
  const std::string path = dir.File("in.mp3"), target = dir.File("out.mp3");
  WriteTestFile(path, bytes);
  WriteTestFile(target, bytes);
  g_largest = 0;
  g_measuring = true;
  bool rewritten = false;
  {
    CTagTransfer transfer;
    transfer.ReadFrom(path.c_str());
    if (rewrite) rewritten = transfer.WriteTo(target.c_str(), true, true);
  }
  g_measuring = false;
  const size_t largest = g_largest;
  if (read) *read = ReadFieldTexts(bytes);
  if (readBack && rewritten) *readBack = ReadFieldTexts(ReadFileBytes(target));
  return largest;
}

std::map<int, std::string> ByKey(const FieldTexts& fields) {
  std::map<int, std::string> byKey;
  for (const auto& [key, text] : fields) {
    EXPECT_TRUE(byKey.emplace(key, text).second) << "key " << key << " twice";
  }
  return byKey;
}

Bytes RichV23() {
  return Cat({Tag(3, Cat({Frame23("APIC", Cat({{0}, Str("image/png"), {0, 3, 0}, Bytes(300, 0xFF)})),
                          Frame23("TIT2", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(u"title")}))),
                          Frame23("COMM", Cat({{1}, Str("eng"), {0xFF, 0xFE, 0, 0}, {0xFF, 0xFE}, Utf16Le(u"c")})),
                          Frame23("TCON", TextData(0, Str("(17)"))), Bytes(20, 0)})),
              FakeAudio(400), V1Record("t", "a", "b", "2000", "c", 1, 2)});
}

Bytes RichV24() {
  return Cat({Tag(4, Cat({Frame24("TDRC", TextData(3, Str("2004"))),
                          Frame24("TRCK", TextData(3, Str("1/2")), 0x03),
                          Frame24("TIT2", TextData(2, Utf16Be(u"x")))}), 0x40 | 0x80),
              FakeAudio(300)});
}

Bytes RichV22() {
  return Cat({Tag(2, Cat({Frame22("TT2", TextData(0, Str("t"))), Frame22("COM", TextData(0, Str("eng\0x")))}), 0x80),
              FakeAudio(300)});
}

}  // namespace

TEST(HostileTags, TruncationAtEveryOffsetIsHarmless) {
  for (const Bytes& whole : {RichV23(), RichV24(), RichV22()}) {
    for (size_t length = 0; length <= whole.size(); ++length) {
      const Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_LE(ReadAndRewrite(part, length % 16 == 0), std::max<size_t>(2 * whole.size(), 65 * 1024))
          << "length " << length;
    }
  }
}

TEST(HostileTags, DeclaredSizesPastTheEndAllocateNoMoreThanTheFile) {
  const Bytes frame = Frame23("TIT2", TextData(0, Str("t")));
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"huge tag size", TagWithSize(3, frame, 0x0FFFFFFF)},
      {"huge frame size", Tag(3, Cat({Str("TIT2"), Be32(0xFFFFFFFF), {0, 0}, TextData(0, Str("t"))}))},
      {"huge 2.2 frame size", Tag(2, Cat({Str("TT2"), {0xFF, 0xFF, 0xFF}, Str("t")}))},
      {"huge extended header", Tag(3, Cat({Be32(0xFFFFFFF0), frame}), 0x40)},
      {"huge 2.4 length indicator", Tag(4, Frame24("TIT2", Cat({SyncSafe32(0x0FFFFFFF), Str("\3t")}), 0x01))},
      {"zero frame sizes", Tag(3, Cat({Str("TIT2"), Be32(0), {0, 0}, Str("TPE1"), Be32(0), {0, 0}}))},
      {"zero tag size", TagWithSize(3, frame, 0)},
      {"header only", Tag(3, {})},
      {"header only, size claimed", TagWithSize(4, {}, 1000)},
      {"three bytes", Str("ID3")},
      {"empty", {}},
      {"odd utf16", Tag(3, Frame23("TIT2", {1, 0xFF}))},
      {"utf16 without nul", Tag(3, Frame23("TIT2", Cat({{1, 0xFE, 0xFF}, Bytes(999, 0x41)})))},
      {"encoding 9", Tag(3, Frame23("COMM", Cat({{9}, Str("eng"), {0}, Str("x")})))},
      {"only ffs", Bytes(500, 0xFF)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_LE(ReadAndRewrite(c.bytes), std::max<size_t>(2 * c.bytes.size(), 65 * 1024));
  }
  // A 256 MiB tag claimed by a 60-byte file.
  const size_t largest = ReadAndRewrite(TagWithSize(3, frame, 0x0FFFFFFF));
  EXPECT_LT(largest, 65u * 1024);
}

// What damaged tags give is well-formed text, and a rewrite carries it over
// as it was read (the year as its four digits).
TEST(HostileTags, RandomDamageIsHarmless) {
  std::mt19937 random(12345);
  const Bytes seeds[] = {RichV23(), RichV24(), RichV22()};
  int rewrites = 0;
  for (int round = 0; round < 600; ++round) {
    Bytes bytes = seeds[round % 3];
    const int changes = 1 + static_cast<int>(random() % 8);
    for (int i = 0; i < changes; ++i) {
      // Damage mostly the tag header and frame headers.
      const size_t at = random() % std::min<size_t>(bytes.size(), round % 2 ? 64 : bytes.size());
      bytes[at] = static_cast<uint8_t>(random());
    }
    SCOPED_TRACE(round);
    FieldTexts read;
    std::optional<FieldTexts> readBack;
    const size_t bound = std::max<size_t>(2 * bytes.size(), 65 * 1024);
    EXPECT_LE(ReadAndRewrite(bytes, round % 4 == 0, &read, &readBack), bound);
    std::map<int, std::string> expected;
    for (const auto& [key, text] : ByKey(read)) {
      ASSERT_TRUE(key >= 0 && key < kTagFieldKeyCount);
      EXPECT_EQ(text.find('\0'), std::string::npos);
      const std::optional<std::u16string> wide = Utf8ToWide(text);
      EXPECT_TRUE(wide && WideToUtf8(*wide) == text) << "not UTF-8: " << text;
      const bool hasYear = text.size() >= 4 && std::all_of(text.begin(), text.begin() + 4, [](char c) {
        return c >= '0' && c <= '9';
      });
      if (key != TAG_YEAR || hasYear) expected[key] = key == TAG_YEAR ? text.substr(0, 4) : text;
    }
    if (!readBack) continue;
    ++rewrites;
    EXPECT_EQ(ByKey(*readBack), expected);
  }
  EXPECT_GT(rewrites, 100);
}

TEST(HostileTags, ReaderAloneSurvivesEveryTruncation) {
  const Bytes whole = RichV23();
  TempDir dir;
  for (size_t length = 0; length <= 80; ++length) {
    WriteTestFile(dir.File("t"), Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)));
    CFileStream stream;
    ASSERT_EQ(stream.OpenA(dir.File("t").c_str(), false), S_OK);
    CId3v2Reader reader;
    EXPECT_TRUE(reader.Read(&stream));
    EXPECT_EQ(reader.HasTag(), length >= 10);
  }
}
