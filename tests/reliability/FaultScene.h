// What the fault tests share: real sources (made once per process, before
// any child is forked), folder snapshots to prove that nothing changed, and
// the checks every failed cut or rewrite must pass: the source and an
// existing destination byte for byte as they were, no temporary duplicate,
// no staging or ".vuxtemp" file anywhere.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// 48 kHz MPEG-1 Layer III VBR, 2 s: every frame lasts 24 ms.
const Bytes& AudioBytes();
// An ID3v2.3 tag with a title, the audio, an ID3v1 record.
Bytes TaggedSource();
// The audio and an ID3v1 record only: the cut with tags is larger than the
// source (a fresh ID3v2 tag at its front), so a size limit can fall between
// the duplicate and the tag rewrite.
Bytes RecordOnlySource();
// An ID3v2.3 tag holding one TIT2 frame (encoding 0).
Bytes TitleTag(const std::string& title);

// Regular files by name (folders as "/"-suffixed names with no bytes).
using Snapshot = std::map<std::string, Bytes>;
Snapshot TakeSnapshot(const std::string& folder);
// "" when equal, else a line naming the first difference.
std::string CompareSnapshots(const Snapshot& before, const Snapshot& after);

bool WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);

// Mounts a tmpfs of `kib` KiB on `folder` (created when missing); false
// where mounting is not permitted. `readOnly` mounts it read-only.
bool MountTmpfs(const std::string& folder, int kib, bool readOnly = false);
// Remounts a mounted tmpfs read-only.
bool RemountReadOnly(const std::string& folder);
