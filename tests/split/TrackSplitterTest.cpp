// Writing the tracks of a split: the frames each track holds, its tags, the
// refusals that come before any file is written, a failure midway, and
// exact tracks that join into the source's decode.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "mp3/Mp3Reader.h"
#include "mp3/VbrHeader.h"
#include "split/TrackSplitter.h"
#include "tags/TagTransfer.h"
#include "tags/Id3v2Writer.h"
#include "tests/split/SplitFixtures.h"
#include "tests/support/TestFiles.h"
#include "tests/tags/TagTestBytes.h"

namespace {

// The audio of a file this program wrote: without its ID3v2 tag and ID3v1 record.
Bytes AudioOf(const Bytes& file) {
  size_t start = 0, end = file.size();
  if (file.size() >= 10 && std::memcmp(file.data(), "ID3", 3) == 0) {
    start = 10 + (size_t{file[6]} << 21 | size_t{file[7]} << 14 | size_t{file[8]} << 7 | file[9]);
  }
  if (end >= 128 && std::memcmp(file.data() + end - 128, "TAG", 3) == 0) end -= 128;
  return Bytes(file.begin() + static_cast<long>(start), file.begin() + static_cast<long>(end));
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

struct Split {
  TrackSplitter splitter;
  std::vector<TrackJob> jobs;
  SplitProblem problem;
  bool prepared = false;
  Split(const std::string& source, const SplitPlan& plan, const std::string& folder,
        const SplitSettings& settings = SplitSettings(), const SplitDisc& disc = SplitDisc()) {
    prepared = splitter.Open(source, &problem) && splitter.Prepare(plan, disc, settings, folder, &jobs, &problem);
  }
};

std::string Field(const std::string& path, int key) {
  CTagTransfer tags;
  tags.ReadFrom(path.c_str());
  const TagField* field = tags.Fields().Find(key);
  return field ? FieldUtf8Text(*field).value_or("?") : "<absent>";
}

size_t PictureCount(const std::string& path) {
  CTagTransfer tags;
  tags.ReadFrom(path.c_str());
  return tags.Pictures().size();
}

class TrackSplitterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EncodeSpec spec;
    spec.writeVbrTag = false;  // frames copied as they are
    m_audio = EncodePieces(ThreeGaps(), spec);
    m_source = m_dir.File("concert.mp3");
    WriteTestFile(m_source, Cat({Tag(3, Cat({Frame23("TIT2", TextData(0, Str("Concert"))),
                                             Frame23("TPE1", TextData(0, Str("Band"))),
                                             Frame23("TYER", TextData(0, Str("2001"))),
                                             Frame23("APIC", Cat({{0}, Str("image/png"), {0, 3, 0}, Str("PNG")}))})),
                                 m_audio, V1Record("Concert", "Band", "", "2001", "", 0, 255)}));
    m_out = m_dir.File("tracks");
    ASSERT_EQ(mkdir(m_out.c_str(), 0755), 0);
  }
  TempDir m_dir;
  Bytes m_audio;
  std::string m_source, m_out;
};

}  // namespace

TEST_F(TrackSplitterTest, TracksHoldTheFramesBetweenTheirPointsWithTheirTags) {
  const SplitPlan plan = {{0, 4250, "Opening", ""}, {4250, 12000, "", "Guest"}, {12000, kToTheEnd, "Finale", ""}};
  SplitSettings settings;
  settings.options.keepCover = true;
  Split split(m_source, plan, m_out, settings, SplitDisc{"Live", "", "1999", ""});
  ASSERT_TRUE(split.prepared) << split.problem.reason;
  ASSERT_EQ(split.splitter.WriteAll(split.jobs, settings.options).written, 3);
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(m_source.c_str(), nullptr, nullptr, nullptr), 1);
  const int64_t audioStart = reader.TimeToOffset(0);
  const int64_t bounds[] = {audioStart, reader.TimeToOffset(4250), reader.TimeToOffset(12000), audioStart + static_cast<int64_t>(m_audio.size())};
  Bytes joined;
  for (size_t i = 0; i < 3; ++i) {
    const Bytes audio = AudioOf(ReadFileBytes(split.jobs[i].path));
    const Bytes expected(m_audio.begin() + (bounds[i] - audioStart), m_audio.begin() + (bounds[i + 1] - audioStart));
    EXPECT_EQ(audio, expected) << "track " << i + 1;
    Append(joined, audio);
    EXPECT_EQ(Field(split.jobs[i].path, TAG_TRACK), std::to_string(i + 1) + "/3");
    EXPECT_EQ(Field(split.jobs[i].path, TAG_ALBUM), "Live");
    EXPECT_EQ(Field(split.jobs[i].path, TAG_YEAR), "1999");
    EXPECT_EQ(PictureCount(split.jobs[i].path), 1u);
  }
  EXPECT_EQ(joined, m_audio);
  EXPECT_EQ(FolderNames(m_out), (std::vector<std::string>{"01 - Opening.mp3", "02 - Concert (2).mp3", "03 - Finale.mp3"}));
  EXPECT_EQ(Field(split.jobs[0].path, TAG_ARTIST), "Band");
  EXPECT_EQ(Field(split.jobs[1].path, TAG_ARTIST), "Guest");
  EXPECT_EQ(Field(split.jobs[1].path, TAG_TITLE), "Concert (2)");
}

// A source whose Info frame holds its own length: each track gets a fresh
// one counting the track's frames, then the source's frames.
TEST_F(TrackSplitterTest, EachTrackOfASourceWithAHeaderGetsItsOwn) {
  EncodeSpec spec;
  const Bytes withInfo = EncodePieces(ThreeGaps(), spec);
  WriteTestFile(m_source, withInfo);
  Split split(m_source, PlanEvery(5000, 15000), m_out);
  ASSERT_TRUE(split.prepared);
  ASSERT_EQ(split.splitter.WriteAll(split.jobs, CutOptions()).written, 3);
  VbrHeaderInfo source;
  ASSERT_EQ(ParseVbrHeader(withInfo.data(), &source), 1);
  int64_t frames = 0;
  for (const TrackJob& job : split.jobs) {
    const Bytes audio = AudioOf(ReadFileBytes(job.path));
    VbrHeaderInfo header;
    ASSERT_EQ(ParseVbrHeader(audio.data(), &header), 1);
    EXPECT_EQ(header.bytes, static_cast<int32_t>(audio.size()));
    frames += header.frames;
  }
  EXPECT_EQ(frames, source.frames);
}

TEST_F(TrackSplitterTest, RefusalsComeBeforeAnyFileIsWritten) {
  const SplitPlan plan = PlanAtPoints({5000, 10000});
  WriteTestFile(m_out + "/02 - Concert (2).mp3", Str("mine"));
  Split existing(m_source, plan, m_out);
  EXPECT_FALSE(existing.prepared);
  EXPECT_EQ(existing.problem.kind, SplitProblemKind::Exists);
  EXPECT_EQ(existing.problem.file, m_out + "/02 - Concert (2).mp3");
  SplitSettings settings;
  settings.overwrite = true;
  mkdir((m_out + "/03 - Concert (3).mp3").c_str(), 0755);
  EXPECT_EQ(Split(m_source, plan, m_out, settings).problem.kind, SplitProblemKind::Target);
  settings.namePattern = "%a";
  EXPECT_EQ(Split(m_source, plan, m_out, settings).problem.kind, SplitProblemKind::Plan);
  settings.namePattern = "%s";
  const Split over(m_source, PlanEvery(60000, 15000), m_dir.Path(), settings);
  EXPECT_EQ(over.problem.file, m_source);
  EXPECT_EQ(Split(m_source, PlanAtPoints({5000, 5010}), m_out, settings).problem.kind, SplitProblemKind::Plan);
  EXPECT_EQ(FolderNames(m_out), (std::vector<std::string>{"02 - Concert (2).mp3", "03 - Concert (3).mp3"}));
  EXPECT_EQ(ReadFileBytes(m_out + "/02 - Concert (2).mp3"), Str("mine"));
}

// A full disk (a file-size limit) at the second, largest track: the first
// stays, the second leaves nothing, the third is not begun.
TEST_F(TrackSplitterTest, AFailureMidwayKeepsTheFinishedTracksAndNoPartialOne) {
  Split split(m_source, PlanAtPoints({2000, 12000}), m_out);
  ASSERT_TRUE(split.prepared);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{60000, 60000};  // track 1 is about 32 KB, track 2 about 160 KB
    setrlimit(RLIMIT_FSIZE, &limit);
    const SplitOutcome outcome = split.splitter.WriteAll(split.jobs, CutOptions());
    _exit(outcome.written == 1 && outcome.failedTrack == 2 && !outcome.failure.errorInSource ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(FolderNames(m_out), (std::vector<std::string>{"01 - Concert (1).mp3"}));
  CMp3Reader reader;
  ASSERT_EQ(reader.Open(m_source.c_str(), nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(AudioOf(ReadFileBytes(split.jobs[0].path)).size(),
            static_cast<size_t>(reader.TimeToOffset(2000) - reader.TimeToOffset(0)));
  EXPECT_EQ(PictureCount(split.jobs[0].path), 0u);  // the cover only when asked for

  // Stopped after its first track, a split leaves that track alone: the one
  // built beside it meanwhile goes unseen.
  const std::string stopped = m_dir.File("stopped");
  ASSERT_EQ(mkdir(stopped.c_str(), 0755), 0);
  Split again(m_source, PlanAtPoints({2000, 4000, 6000}), stopped);
  ASSERT_TRUE(again.prepared);
  const SplitOutcome outcome = again.splitter.WriteAll(again.jobs, CutOptions(), [](size_t, const CutReport&) { return false; });
  EXPECT_TRUE(outcome.written == 1 && outcome.cancelled);
  EXPECT_EQ(FolderNames(stopped), (std::vector<std::string>{"01 - Concert (1).mp3"}));
}

// mpg123 plays the exact tracks one after the other as it plays the source:
// the same samples, within one rounding step where the phase moved.
TEST_F(TrackSplitterTest, ExactTracksJoinIntoTheSourcesDecodeThroughMpg123) {
  if (std::system("mpg123 --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "mpg123 is not installed";
  EncodeSpec spec;
  spec.mode = EncodeSpec::Mode::Vbr;
  WriteTestFile(m_source, EncodePieces(ThreeGaps(), spec));
  SplitSettings settings;
  settings.options.exact = true;
  Split split(m_source, PlanAtPoints({1234, 4250, 9999}), m_out, settings);
  ASSERT_TRUE(split.prepared);
  ASSERT_EQ(split.splitter.WriteAll(split.jobs, settings.options).written, 4);
  const auto decode = [](const std::string& path) {
    FILE* pipe = popen(("mpg123 -q -s '" + path + "' 2>/dev/null").c_str(), "r");
    std::vector<int16_t> pcm;
    int16_t buffer[4096];
    for (size_t n; (n = std::fread(buffer, 2, 4096, pipe)) > 0;) pcm.insert(pcm.end(), buffer, buffer + n);
    pclose(pipe);
    return pcm;
  };
  std::vector<int16_t> joined;
  for (const TrackJob& job : split.jobs) {
    const std::vector<int16_t> track = decode(job.path);
    joined.insert(joined.end(), track.begin(), track.end());
  }
  const std::vector<int16_t> source = decode(m_source);
  ASSERT_EQ(joined.size(), source.size());
  int worst = 0;
  for (size_t i = 0; i < source.size(); ++i) worst = std::max(worst, std::abs(joined[i] - source[i]));
  EXPECT_LE(worst, 1);
}
