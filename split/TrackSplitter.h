// TrackSplitter: writes the tracks of a split from one source in one pass:
// one reader and one frame index, one descriptor and one reading of the tags
// for every track. Two tracks are built at a time (on two threads that share
// the finished index); they are renamed into place in order.
//
// Each track is a cut (mp3/CutOutput.h) with every guarantee a single cut
// has: its content is built in a staging file beside it and renamed into
// place only once complete, the source is only read, and the cut options
// (fresh VBR header, clean start, exact, cover art) apply to each track. A
// track that fails leaves no file of its own, neither partial nor staging;
// the tracks before it stay written, and the split stops there.
//
// Prepare resolves a plan before anything is written: the file name and the
// tags of each track, the stretch it holds, and the refusals that must stop
// a split before its first file (a track that holds no frame, level options
// on a source that is not Layer III, two tracks with one name, an existing
// file without `overwrite`, a track that would replace the source, a
// destination that is a folder or read-only). A gain that would clip is
// found only as the track is written: it stops the split there.
//
// Not thread-safe: one thread at a time uses a splitter (the window runs a
// split on a thread of its own).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mp3/CutRange.h"
#include "mp3/CutTypes.h"
#include "platform/io/FileReplacement.h"
#include "platform/io/UniqueFd.h"
#include "split/SplitPlan.h"
#include "split/TrackNames.h"
#include "split/TrackTags.h"
#include "tags/TagTransfer.h"

// What a CUE sheet says about the whole disc; empty keeps the source's.
struct SplitDisc {
  std::string album, artist, year, genre;
};

struct SplitSettings {
  CutOptions options;  // per track: exact, framesOnly, keepCover...
  std::string namePattern = kDefaultNamePattern;
  bool overwrite = false;  // replace existing files (else they stop the split)
};

struct TrackJob {
  int number = 0;
  int64_t startMs = 0, endMs = 0;  // the plan's
  int64_t fromMs = 0, toMs = 0;    // what the track holds: its frames' times, or the exact range
  std::string fileName;            // in the folder
  std::string path;
  TrackTagText tags;
};

enum class SplitProblemKind {
  Source,  // the source cannot be read as MPEG audio
  Plan,    // the plan cannot be written as it is (`file` empty)
  Exists,  // a track's file exists and may not be replaced
  Target,  // a track's file cannot be replaced (a folder, read-only, the source)
};

struct SplitProblem {
  SplitProblemKind kind = SplitProblemKind::Plan;
  std::string file;
  std::string reason;
};

struct SplitOutcome {
  int written = 0;
  bool cancelled = false;
  int failedTrack = 0;  // the number of the track that failed, 0 when none did
  CutReport failure;    // its report
};

class TrackSplitter {
 public:
  bool Open(const std::string& source, SplitProblem* problem);
  int DurationMs() { return m_source.Reader().GetDuration(); }
  const Mp3StreamInfo& StreamInfo() const { return m_source.Info(); }
  // The source's title field, else its file title.
  const std::string& SourceTitle() const { return m_sourceTitle; }

  bool Prepare(const SplitPlan& plan, const SplitDisc& disc, const SplitSettings& settings, const std::string& folder,
               std::vector<TrackJob>* jobs, SplitProblem* problem);


  // Writes the jobs in order and stops at the first that fails (its
  // report->error set, report->errorInSource when the source is at fault).
  // `afterTrack`, when given, hears of each track written (its index in
  // `jobs` and its report); returning false cancels the rest.
  SplitOutcome WriteAll(const std::vector<TrackJob>& jobs, const CutOptions& options,
                        const std::function<bool(size_t index, const CutReport& report)>& afterTrack = nullptr);

 private:
  // Tracks built at once, each in its staging file.
  static constexpr size_t kStagingThreads = 2;
  struct MappedTrack {
    CutRange range;
    CutReport report;
  };
  struct StagedTrack {
    std::optional<FileReplacement> staging;
    CutReport report;
    bool ok = false;
  };
  bool MapTrack(const TrackJob& job, const CutOptions& options, MappedTrack* mapped);
  StagedTrack StageTrack(const TrackJob& job, const MappedTrack& mapped, const CutOptions& options) const;
  // Why the track cannot be written, or none (its stretch filled in).
  std::optional<std::string> MapStretch(const PlannedTrack& track, const CutOptions& options, TrackJob* job);
  bool CheckTargets(const std::vector<TrackJob>& jobs, bool overwrite, SplitProblem* problem) const;

  std::string m_path;
  CutSource m_source;
  UniqueFd m_in;
  CTagTransfer m_tags;
  std::vector<std::vector<uint8_t>> m_pictures;
  std::string m_sourceTitle, m_sourceArtist, m_sourceAlbum;  // UTF-8, for the names
  uint64_t m_device = 0, m_inode = 0;
};
