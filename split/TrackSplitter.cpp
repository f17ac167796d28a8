#include "split/TrackSplitter.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <deque>
#include <future>
#include <set>

#include "mp3/CutOutput.h"
#include "mp3/PathParts.h"
#include "platform/io/BackgroundCopy.h"
#include "platform/io/FileReplacement.h"
#include "platform/FormatTime.h"
#include "platform/io/RegularFile.h"
#include "tags/Id3v2Writer.h"
#include "tags/TagFieldList.h"

namespace {

bool Refuse(SplitProblem* problem, SplitProblemKind kind, const std::string& file, const std::string& reason) {
  *problem = SplitProblem{kind, file, reason};
  return false;
}

bool FailTrack(CutReport* report, const std::string& why, bool inSource) {
  report->error = why;
  report->errorInSource = inSource;
  return false;
}

std::string FieldTextOf(const CTagFieldList& fields, int32_t key) {
  const TagField* field = fields.Find(key);
  return field ? FieldUtf8Text(*field).value_or("") : "";
}

std::string TrackRange(const PlannedTrack& track) {
  const std::string end = track.endMs >= kToTheEnd ? "the end" : FormatTime(static_cast<int>(track.endMs));
  return FormatTime(static_cast<int>(track.startMs)) + " to " + end;
}

}  // namespace

bool TrackSplitter::Open(const std::string& source, SplitProblem* problem) {
  m_path = source;
  CutReport report;
  if (!m_source.Open(source, 0, &report)) return Refuse(problem, SplitProblemKind::Source, source, report.error);
  // The frames and the tags come from one descriptor of the file as it is now.
  m_in = UniqueFd(OpenRegularFile(source.c_str(), O_RDONLY));
  struct stat info;
  if (!m_in.IsOpen() || ::fstat(m_in.Get(), &info) != 0) {
    return Refuse(problem, SplitProblemKind::Source, source, std::strerror(errno ? errno : EIO));
  }
  m_device = info.st_dev;
  m_inode = info.st_ino;
  m_tags.ReadFrom(source.c_str());
  m_pictures = m_tags.Pictures();
  m_sourceTitle = SourceTitleOf(m_tags.Fields(), source);
  m_sourceArtist = FieldTextOf(m_tags.Fields(), TAG_ARTIST);
  m_sourceAlbum = FieldTextOf(m_tags.Fields(), TAG_ALBUM);
  return true;
}

std::optional<std::string> TrackSplitter::MapStretch(const PlannedTrack& track, const CutOptions& options,
                                                     TrackJob* job) {
  CutReport report;
  CutRange range;
  const std::string empty = "track " + std::to_string(job->number) + " (" + TrackRange(track) + ") holds no whole frame";
  if (!m_source.MapStart(static_cast<int>(track.startMs), &report) ||
      !m_source.MapEnd(static_cast<int>(track.endMs), options, &range, &report)) {
    return report.refusal == CutRefusal::None ? empty : report.error;
  }
  if (options.exact) {
    job->fromMs = std::max<int64_t>(track.startMs, 0);
    job->toMs = std::min<int64_t>(track.endMs, DurationMs());
    return job->fromMs < job->toMs ? std::nullopt : std::optional<std::string>(empty);
  }
  // Without the source's header frame when a new header (or none) takes its place.
  const int64_t start = range.plainStart >= 0 ? range.plainStart : report.startOffset;
  if (start >= report.endOffset) return empty;
  job->fromMs = std::llround(range.index->TimeAtOffset(start));
  job->toMs = std::llround(range.index->TimeAtOffset(report.endOffset));
  return std::nullopt;
}

bool TrackSplitter::Prepare(const SplitPlan& plan, const SplitDisc& disc, const SplitSettings& settings,
                            const std::string& folder, std::vector<TrackJob>* jobs, SplitProblem* problem) {
  jobs->clear();
  if (plan.empty()) return Refuse(problem, SplitProblemKind::Plan, "", "no tracks to write");
  if (auto why = NamePatternProblem(settings.namePattern)) return Refuse(problem, SplitProblemKind::Plan, "", *why);
  const int count = static_cast<int>(plan.size());
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  std::set<std::string> names;
  for (int i = 0; i < count; ++i) {
    const PlannedTrack& track = plan[static_cast<size_t>(i)];
    TrackJob job;
    job.number = i + 1;
    job.startMs = track.startMs;
    job.endMs = track.endMs;
    if (auto why = MapStretch(track, settings.options, &job)) return Refuse(problem, SplitProblemKind::Plan, "", *why);
    job.tags = TrackTagText{job.number, count, track.title.empty() ? NumberedTitle(m_sourceTitle, job.number) : track.title,
                            !track.performer.empty() ? track.performer : disc.artist, disc.album, disc.year, disc.genre};
    const TrackNameFields fields{job.number, count, job.tags.title,
                                 job.tags.artist.empty() ? m_sourceArtist : job.tags.artist,
                                 job.tags.album.empty() ? m_sourceAlbum : job.tags.album, GetFileTitlePart(m_path)};
    job.fileName = TrackFileName(settings.namePattern, fields);
    job.path = prefix + job.fileName;
    if (!names.insert(job.fileName).second) {
      return Refuse(problem, SplitProblemKind::Plan, "", "two tracks would be written to one file, " + job.fileName);
    }
    jobs->push_back(std::move(job));
  }
  return CheckTargets(*jobs, settings.overwrite, problem);
}

bool TrackSplitter::CheckTargets(const std::vector<TrackJob>& jobs, bool overwrite, SplitProblem* problem) const {
  for (const TrackJob& job : jobs) {
    struct stat info;
    if (::lstat(job.path.c_str(), &info) != 0) continue;
    if (::stat(job.path.c_str(), &info) == 0 && info.st_dev == m_device && info.st_ino == m_inode) {
      return Refuse(problem, SplitProblemKind::Target, job.path, "the track would replace the source");
    }
    if (!overwrite) return Refuse(problem, SplitProblemKind::Exists, job.path, "exists");
    if (const char* refusal = TargetRefusal(ExamineTarget(job.path))) {
      return Refuse(problem, SplitProblemKind::Target, job.path, refusal);
    }
  }
  return true;
}

// The track's range in the source; false with report->error set (and
// errorInSource) when it cannot be mapped.
bool TrackSplitter::MapTrack(const TrackJob& job, const CutOptions& options, MappedTrack* mapped) {
  mapped->report = CutReport{};
  if (m_source.MapStart(static_cast<int>(job.startMs), &mapped->report) &&
      m_source.MapEnd(static_cast<int>(job.endMs), options, &mapped->range, &mapped->report)) {
    return true;
  }
  mapped->report.errorInSource = true;
  return false;
}

// Builds the track's whole content in its staging file; reads only what the
// mapping left behind, so several tracks can be staged at once.
TrackSplitter::StagedTrack TrackSplitter::StageTrack(const TrackJob& job, const MappedTrack& mapped,
                                                     const CutOptions& options) const {
  StagedTrack track;
  track.report = mapped.report;
  // A link in the track's place is replaced itself: a track never lands outside its folder.
  track.staging = BeginCutOutput(job.path);
  if (!track.staging) {
    FailTrack(&track.report,
              std::string("cannot write in the destination folder: ") + std::strerror(errno ? errno : EIO), false);
    return track;
  }
  CTagFieldList fields;
  FillTrackFields(m_tags.Fields(), job.tags, &fields);
  const CutTags tags{&fields, options.keepCover ? &m_pictures : nullptr};
  BackgroundCopy none;
  const int start = static_cast<int>(job.startMs), end = static_cast<int>(job.endMs);
  track.ok = WriteCutHead(track.staging->Fd(), tags, &track.report) &&
             WriteCutFrames(m_in.Get(), track.staging->Fd(), mapped.range, start, end, none, &track.report) &&
             WriteCutTail(track.staging->Fd(), tags, &track.report);
  track.report.tagsCarried = track.ok;
  return track;
}

// Tracks are staged on up to kStagingThreads threads but committed (renamed
// into place) one by one in order, on this thread: a failure or a stop
// leaves exactly the tracks before it, as writing them one by one would;
// the tracks staged past it are removed unseen.
SplitOutcome TrackSplitter::WriteAll(const std::vector<TrackJob>& jobs, const CutOptions& options,
                                     const std::function<bool(size_t, const CutReport&)>& afterTrack) {
  SplitOutcome outcome;
  std::vector<MappedTrack> mapped(jobs.size());
  size_t ready = 0;
  while (ready < jobs.size() && MapTrack(jobs[ready], options, &mapped[ready])) ++ready;
  // With every frame indexed the threads share the index without changing it.
  if (ready > 0) mapped[0].range.index->ExtendToEnd();
  std::deque<std::future<StagedTrack>> staging;
  size_t next = 0;
  for (size_t i = 0; i < ready; ++i) {
    for (; next < ready && staging.size() < kStagingThreads; ++next) {
      staging.push_back(std::async(std::launch::async | std::launch::deferred, [&, k = next] { return StageTrack(jobs[k], mapped[k], options); }));
    }
    StagedTrack track = staging.front().get();
    staging.pop_front();
    if (track.ok) track.ok = CommitCutOutput(*track.staging, &track.report);
    if (!track.ok) {
      outcome.failedTrack = jobs[i].number;
      outcome.failure = track.report;
      return outcome;
    }
    ++outcome.written;
    if (afterTrack && !afterTrack(i, track.report)) {
      outcome.cancelled = i + 1 < jobs.size();
      return outcome;
    }
  }
  if (ready < jobs.size()) {
    outcome.failedTrack = jobs[ready].number;
    outcome.failure = mapped[ready].report;
  }
  return outcome;
}
