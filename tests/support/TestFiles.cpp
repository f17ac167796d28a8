#include "tests/support/TestFiles.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string templ = std::string(base && *base ? base : "/tmp") + "/padocut-test-XXXXXX";
  std::vector<char> buf(templ.begin(), templ.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
  m_path = buf.data();
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only folders behind; make them removable first.
  for (auto it = std::filesystem::recursive_directory_iterator(m_path, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_path, ec);
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

void Append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
  out.insert(out.end(), bytes.begin(), bytes.end());
}

std::string BuildDir() {
  const char* dir = std::getenv("PADOCUT_BUILD_DIR");
  return dir && *dir ? dir : PADOCUT_BUILD_DIR_DEFAULT;
}

std::string SourceDir() {
  const char* dir = std::getenv("PADOCUT_SOURCE_DIR");
  return dir && *dir ? dir : PADOCUT_SOURCE_DIR_DEFAULT;
}

std::vector<uint8_t> LayerTwoFrames(int count) {
  constexpr uint8_t kHeader[] = {0xFF, 0xFD, 0x80, 0x00};
  constexpr size_t kFrameLength = 417;  // 144 * 128000 / 44100
  std::vector<uint8_t> file;
  for (int i = 0; i < count; ++i) {
    file.insert(file.end(), kHeader, kHeader + 4);
    file.resize(file.size() + kFrameLength - 4, 0);
  }
  return file;
}
