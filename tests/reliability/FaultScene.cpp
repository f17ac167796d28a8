#include "tests/reliability/FaultScene.h"

#include <sys/mount.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/SignalEncoder.h"

const Bytes& AudioBytes() {
  static const Bytes bytes = [] {
    EncodeSpec s;
    s.sampleRate = 48000;
    s.seconds = 2;
    s.mode = EncodeSpec::Mode::Vbr;
    return EncodeMp3(s);
  }();
  return bytes;
}

Bytes TitleTag(const std::string& title) {
  const auto size = static_cast<uint8_t>(title.size() + 1);
  Bytes tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<uint8_t>(size + 10)};
  const Bytes frame = {'T', 'I', 'T', '2', 0, 0, 0, size, 0, 0, 0};
  tag.insert(tag.end(), frame.begin(), frame.end());
  tag.insert(tag.end(), title.begin(), title.end());
  return tag;
}

namespace {

Bytes Record(const std::string& title) {
  Bytes r(128, 0);
  r[0] = 'T', r[1] = 'A', r[2] = 'G';
  for (size_t i = 0; i < title.size() && i < 30; ++i) r[3 + i] = static_cast<uint8_t>(title[i]);
  r[127] = 17;
  return r;
}

}  // namespace

Bytes TaggedSource() {
  Bytes file = TitleTag("Fault Title");
  file.insert(file.end(), AudioBytes().begin(), AudioBytes().end());
  const Bytes record = Record("Old Title");
  file.insert(file.end(), record.begin(), record.end());
  return file;
}

Bytes RecordOnlySource() {
  Bytes file = AudioBytes();
  const Bytes record = Record("Record Title");
  file.insert(file.end(), record.begin(), record.end());
  return file;
}

Snapshot TakeSnapshot(const std::string& folder) {
  Snapshot snapshot;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(ec)) {
      snapshot[name + "/"] = {};
    } else if (entry.is_regular_file(ec)) {
      snapshot[name] = ReadBytes(entry.path().string());
    } else {
      snapshot[name + "|special"] = {};
    }
  }
  return snapshot;
}

std::string CompareSnapshots(const Snapshot& before, const Snapshot& after) {
  for (const auto& [name, bytes] : before) {
    auto it = after.find(name);
    if (it == after.end()) return name + " disappeared";
    if (it->second != bytes) return name + " changed";
  }
  for (const auto& [name, bytes] : after) {
    if (!before.count(name)) return name + " appeared";
  }
  return "";
}

bool WriteBytes(const std::string& path, const Bytes& bytes) { return WriteFileBytes(path, bytes); }

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool MountTmpfs(const std::string& folder, int kib, bool readOnly) {
  mkdir(folder.c_str(), 0755);
  const std::string options = "size=" + std::to_string(kib) + "k";
  return mount("tmpfs", folder.c_str(), "tmpfs", readOnly ? MS_RDONLY : 0, options.c_str()) == 0;
}

bool RemountReadOnly(const std::string& folder) {
  return mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}
