#include "fuzz/FuzzScratch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace {

std::string* g_folder = nullptr;

void RemoveFolder() {
  if (!g_folder) return;
  std::error_code ec;
  std::filesystem::remove_all(*g_folder, ec);
}

}  // namespace

FuzzScratch& FuzzScratch::Get() {
  // Never destroyed: the exit handler below still needs the folder name.
  static FuzzScratch* scratch = new FuzzScratch;
  return *scratch;
}

FuzzScratch::FuzzScratch() {
  struct stat st;
  std::string base = "/dev/shm";
  if (stat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || access(base.c_str(), W_OK) != 0) {
    const char* tmp = std::getenv("TMPDIR");
    base = tmp && *tmp ? tmp : "/tmp";
  }
  std::string pattern = base + "/padocut-fuzz-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) {
    std::perror("padocut fuzz: mkdtemp");
    std::abort();
  }
  m_folder = buffer.data();
  g_folder = &m_folder;
  std::atexit(RemoveFolder);
}

std::string FuzzScratch::Write(const std::string& name, const uint8_t* bytes, size_t size) {
  const std::string path = PathOf(name);
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    std::perror("padocut fuzz: open");
    std::abort();
  }
  size_t done = 0;
  while (done < size) {
    const ssize_t n = write(fd, bytes + done, size - done);
    if (n <= 0) {
      std::perror("padocut fuzz: write");
      std::abort();
    }
    done += static_cast<size_t>(n);
  }
  close(fd);
  return path;
}
