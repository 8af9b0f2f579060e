#include "Riff.h"

#include <sys/stat.h>

#include <algorithm>

#include "SafeFile.h"
#include "WinFile.h"

namespace {
constexpr uint32_t kRiff = MakeFourCC('R', 'I', 'F', 'F');

uint32_t Le32(const uint8_t* b) {
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
         (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// Chunks are word aligned: an odd-sized chunk is followed by a pad byte.
uint64_t Padded(uint32_t size) { return static_cast<uint64_t>(size) + (size & 1); }
}  // namespace

bool RiffFile::Open(const std::string& path) {
  Close();
  const std::string native = NativePath(path);
  if (native.empty()) return false;
  FILE* f = OpenRegularStream(native.c_str());
  if (!f) return false;
  struct stat st;
  if (fstat(fileno(f), &st) != 0) {
    std::fclose(f);
    return false;
  }
  file_ = f;
  size_ = static_cast<uint64_t>(st.st_size);
  pos_ = 0;
  return true;
}

void RiffFile::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  size_ = pos_ = 0;
}

bool RiffFile::Seek(uint64_t to) {
  if (!file_ || to > size_) return false;
  if (fseeko(file_, static_cast<off_t>(to), SEEK_SET) != 0) return false;
  pos_ = to;
  return true;
}

bool RiffFile::ReadHeader(uint64_t at, uint32_t& id, uint32_t& size) {
  uint8_t h[8];
  if (at + 8 > size_ || !Seek(at) || std::fread(h, 1, 8, file_) != 8) return false;
  pos_ = at + 8;
  id = Le32(h);
  size = Le32(h + 4);
  return true;
}

bool RiffFile::DescendRiff(RiffChunk& out, uint32_t formType) {
  if (!file_) return false;
  uint64_t at = pos_;
  uint32_t id, size;
  while (ReadHeader(at, id, size)) {
    if (id == kRiff && size >= 4) {
      uint8_t t[4];
      if (std::fread(t, 1, 4, file_) != 4) return false;
      pos_ += 4;
      if (Le32(t) == formType) {
        out = RiffChunk{id, size, formType, at + 8};
        return true;
      }
    }
    at += 8 + Padded(size);
  }
  return false;
}

bool RiffFile::DescendChunk(RiffChunk& out, const RiffChunk& parent, uint32_t id) {
  if (!file_) return false;
  // A form's sub-chunks start after its form type.
  const uint64_t first = parent.dataOffset + (parent.id == kRiff ? 4 : 0);
  const uint64_t end = std::min<uint64_t>(parent.dataOffset + parent.size, size_);
  uint64_t at = first;
  uint32_t ckId, ckSize;
  while (at + 8 <= end && ReadHeader(at, ckId, ckSize)) {
    if (ckId == id) {
      out = RiffChunk{ckId, ckSize, 0, at + 8};
      return true;
    }
    at += 8 + Padded(ckSize);
  }
  return false;
}

long RiffFile::Read(void* buffer, long count) {
  if (!file_ || count < 0) return -1;
  const uint64_t n = std::min<uint64_t>(static_cast<uint64_t>(count), Remaining());
  if (n == 0) return 0;
  if (fseeko(file_, static_cast<off_t>(pos_), SEEK_SET) != 0) return -1;
  const size_t got = std::fread(buffer, 1, static_cast<size_t>(n), file_);
  if (got != n && std::ferror(file_)) return -1;
  pos_ += got;
  return static_cast<long>(got);
}

bool RiffFile::Ascend(const RiffChunk& chunk) {
  if (!file_) return false;
  const uint64_t end = chunk.dataOffset + chunk.size;
  if (end > size_) return false;
  // A missing pad byte at the very end of the file is forgiven.
  return Seek(std::min<uint64_t>(chunk.dataOffset + Padded(chunk.size), size_));
}
