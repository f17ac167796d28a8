// padocut-cli tags and retag, run as a user runs them.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "tests/tags/TagTestBytes.h"

namespace {

struct Result {
  int status = -1;
  std::string out;
};

Result Cli(const std::string& arguments) {
  Result result;
  const std::string command = BuildDir() + "/padocut-cli " + arguments + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  const int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

}  // namespace

TEST(TagCli, TagsPrintsPresentFieldsInListOrderThenNulls) {
  TempDir dir;
  const std::string path = dir.File("a.mp3");
  WriteTestFile(path, Cat({Tag(4, Cat({Frame24("TRCK", TextData(3, Str("3/12"))),
                                        Frame24("TIT2", TextData(1, Cat({{0xFF, 0xFE}, Utf16Le(u"\uAC00\"q")}))),
                                        Frame24("TCON", TextData(0, Str("(17)Rock")))})),
                            FakeAudio(500), V1Record("", "", "", "1999", "", 0, 255)}));
  const Result result = Cli("tags '" + path + "'");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "{\"id3v1\": true, \"id3v2\": 4, \"fields\": {\"year\": \"1999\", \"title\": \"\xEA\xB0\x80\\\"q\", "
            "\"genre\": \"Rock\", \"track\": \"3/12\", \"artist\": null, \"album\": null, \"comment\": null}, "
            "\"file\": \"" + path + "\"}\n");

  WriteTestFile(path, Cat({V1Record("\xB0\xA1", "", "", "", "", 0, 255)}));
  EXPECT_EQ(Cli("tags --tag-charset CP949 '" + path + "'").out.substr(0, 72),
            "{\"id3v1\": true, \"id3v2\": null, \"fields\": {\"title\": \"\xEA\xB0\x80\", \"artist\": null");
  EXPECT_NE(Cli("tags --tag-charset ISO-8859-1 '" + path + "'").out.find("\"title\": \"\xC2\xB0\xC2\xA1\""),
            std::string::npos);
  EXPECT_EQ(Cli("tags --tag-charset NO-SUCH '" + path + "'").status, 2);
  EXPECT_EQ(Cli("tags '" + dir.File("missing.mp3") + "'").status, 1);
  EXPECT_EQ(Cli("tags").status, 2);
}

TEST(TagCli, RetagRewritesOnlyWhenTheSourceHasTags) {
  TempDir dir;
  const std::string src = dir.File("src.mp3"), dst = dir.File("dst.mp3"), bare = dir.File("bare.mp3");
  const Bytes audio = FakeAudio(800);
  WriteTestFile(src, Cat({Tag(3, Frame23("TIT2", TextData(0, Str("t")))), audio}));
  WriteTestFile(dst, audio);
  WriteTestFile(bare, audio);

  Result result = Cli("retag '" + bare + "' '" + dst + "'");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "{\"tags\": false, \"rewritten\": false}\n");
  EXPECT_EQ(ReadFileBytes(dst), audio);

  result = Cli("retag '" + src + "' '" + dst + "'");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "{\"tags\": true, \"rewritten\": true}\n");
  EXPECT_EQ(ReadFileBytes(dst).size(), 10 + 28 + audio.size() + 128);

  EXPECT_EQ(Cli("retag '" + dir.File("none.mp3") + "' '" + dst + "'").status, 1);
  result = Cli("retag '" + src + "' '" + dir.File("none.mp3") + "'");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "{\"tags\": true, \"rewritten\": false}\n");
  EXPECT_EQ(Cli("retag '" + src + "'").status, 2);
}
