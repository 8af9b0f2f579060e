// Reading RIFF files (WAVE) chunk by chunk: open, descend into the RIFF form and into chunks,
// read, ascend, close. Every step is bounded by the file's real size, so a lying size field
// fails the step it belongs to instead of reading past the end.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
         (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
         (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

// A chunk found by a descent: its id and size as the file states them, the form type of a
// RIFF chunk, and where its data begins.
struct RiffChunk {
  uint32_t id = 0;
  uint32_t size = 0;
  uint32_t formType = 0;
  uint64_t dataOffset = 0;
};

class RiffFile {
 public:
  RiffFile() = default;
  ~RiffFile() { Close(); }
  RiffFile(const RiffFile&) = delete;
  RiffFile& operator=(const RiffFile&) = delete;

  // Opens a game path ('\' separators, through NativePath) for reading.
  bool Open(const std::string& path);
  // Finds, from the current position on, a top-level "RIFF" chunk of the form type and moves
  // to its first sub-chunk.
  bool DescendRiff(RiffChunk& out, uint32_t formType);
  // Finds the chunk `id` among the sub-chunks of `parent` (in any order) and moves to its
  // data. A sub-chunk header must lie wholly inside the parent and the file.
  bool DescendChunk(RiffChunk& out, const RiffChunk& parent, uint32_t id);
  // Reads up to `count` bytes from the current position; not limited to the chunk, only by
  // the end of the file. Returns the bytes read, -1 on a read error.
  long Read(void* buffer, long count);
  // Moves past the chunk (and its pad byte); false when the chunk runs past the file's end.
  bool Ascend(const RiffChunk& chunk);
  void Close();

  bool IsOpen() const { return file_ != nullptr; }
  uint64_t Size() const { return size_; }
  uint64_t Position() const { return pos_; }
  // Bytes from the current position to the end of the file.
  uint64_t Remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }

 private:
  bool ReadHeader(uint64_t at, uint32_t& id, uint32_t& size);
  bool Seek(uint64_t to);

  FILE* file_ = nullptr;
  uint64_t size_ = 0;
  uint64_t pos_ = 0;
};
