// The opening book. Only read during a game; the index is held in memory, the records are read
// from "book.rec" at each lookup. Both files are data we do not trust: a missing or damaged
// file makes the lookup miss and the search decide.
#include "Book.h"
#include "SafeFile.h"

#include <cstdio>
#include <cstring>

#include "AiEngine.h"
#include "ChessData.h"

uint8_t quinaryIndex[1024];
uint16_t bookIndex[BOOK_INDEX_MAX];
int bookCount;

const Orientation bookOrientations[8] = {
    {128, 1, 32},  {142, 32, -1},  {590, -1, -32}, {576, -32, 1},
    {142, -1, 32}, {590, -32, -1}, {576, 1, -32},  {128, 32, 1},
};

namespace {
const char* const kRecordFile = "book.rec";
const char* const kIndexFile = "book.ndx";

bool ReadRecord(FILE* f, int number, BookRecord& record) {
  uint8_t raw[BOOK_RECORD_BYTES];
  if (std::fseek(f, static_cast<long>(number) * BOOK_RECORD_BYTES, SEEK_SET) != 0) return false;
  if (std::fread(raw, 1, sizeof raw, f) != sizeof raw) return false;
  DecodeBookRecord(raw, record);
  return true;
}

bool InPlayingArea(int row, int col) { return row >= 0 && row < 15 && col >= 0 && col < 15; }
}  // namespace

void EncodeBookRecord(const BookRecord& record, uint8_t* out) {
  std::memcpy(out, record.signature, SIGNATURE_BYTES);
  out[45] = record.weight;
  out[46] = static_cast<uint8_t>(record.move);
  out[47] = static_cast<uint8_t>(record.move >> 8);
  out[48] = static_cast<uint8_t>(record.extra);
  out[49] = static_cast<uint8_t>(record.extra >> 8);
  std::memcpy(out + 50, record.reserved, sizeof record.reserved);
}

void DecodeBookRecord(const uint8_t* in, BookRecord& record) {
  std::memcpy(record.signature, in, SIGNATURE_BYTES);
  record.weight = in[45];
  record.move = static_cast<uint16_t>(in[46] | in[47] << 8);
  record.extra = static_cast<uint16_t>(in[48] | in[49] << 8);
  std::memcpy(record.reserved, in + 50, sizeof record.reserved);
}

void BuildQuinaryIndex() {
  uint8_t next = 0;
  for (int code = 0; code < 1024; ++code) {
    quinaryIndex[code] = 0;
    bool border = false;
    for (int d = 0; d < 5; ++d) border |= ((code >> (2 * d)) & 3) == 1;
    if (!border) quinaryIndex[code] = next++;
  }
}

void LoadBookIndex() {
  bookCount = 0;
  FILE* f = OpenRegularStream(kIndexFile);
  if (!f) return;  // no book: every Renju position is searched
  uint8_t raw[2 * BOOK_INDEX_MAX];
  size_t got = std::fread(raw, 1, sizeof raw, f);
  std::fclose(f);
  // A trailing odd byte is not an entry.
  int count = static_cast<int>(got / 2);
  for (int i = 0; i < count; ++i)
    bookIndex[i] = static_cast<uint16_t>(raw[2 * i] | raw[2 * i + 1] << 8);
  bookCount = count;
}

uint8_t CellRunCodeOf(const uint8_t* board, int cell, int step) {
  unsigned code = 0;
  for (int k = 0; k < 5; ++k) code = code << 2 | (board[cell + k * step] & 3u);
  return quinaryIndex[code];
}

uint8_t CellRunCode(int cell, int step) { return CellRunCodeOf(gameBoard, cell, step); }

void BoardSignatureOf(const uint8_t* board, int start, int colStep, int rowStep, uint8_t* out) {
  for (int i = 0; i < 15; ++i) {
    int p = start + i * rowStep;
    out[3 * i] = CellRunCodeOf(board, p, colStep);
    out[3 * i + 1] = CellRunCodeOf(board, p + 5 * colStep, colStep);
    out[3 * i + 2] = CellRunCodeOf(board, p + 10 * colStep, colStep);
  }
}

void BoardSignature(int start, int colStep, int rowStep, uint8_t* out) {
  BoardSignatureOf(gameBoard, start, colStep, rowStep, out);
}

int CompareSignature(const uint8_t* a, const uint8_t* b) {
  for (int i = SIGNATURE_BYTES - 1; i >= 0; --i) {
    if (a[i] != b[i]) return a[i] > b[i] ? 1 : -1;
  }
  return 0;
}

int CanonicalSignatureOf(const uint8_t* board, uint8_t* out) {
  const Orientation& o0 = bookOrientations[0];
  BoardSignatureOf(board, o0.start, o0.colStep, o0.rowStep, out);
  int best = 0;
  uint8_t work[SIGNATURE_BYTES];
  for (int o = 1; o < 8; ++o) {
    const Orientation& ori = bookOrientations[o];
    BoardSignatureOf(board, ori.start, ori.colStep, ori.rowStep, work);
    if (CompareSignature(out, work) < 0) {
      std::memcpy(out, work, SIGNATURE_BYTES);
      best = o;
    }
  }
  return best;
}

int CanonicalSignature(uint8_t* out) { return CanonicalSignatureOf(gameBoard, out); }

int CanonicalToCell(int move, int orientation) {
  int row = move / 32, col = move % 32;
  for (int k = 0; k < orientation % 4; ++k) {
    int r = col, c = 14 - row;
    row = r;
    col = c;
  }
  if (orientation >= 4) {
    if (orientation & 1)
      row = 14 - row;
    else
      col = 14 - col;
  }
  return 128 + 32 * row + col;
}

int CellToCanonical(int cell, int orientation) {
  int row = (cell - 128) / 32, col = (cell - 128) % 32;
  if (orientation >= 4) {
    if (orientation & 1)
      row = 14 - row;
    else
      col = 14 - col;
  }
  for (int k = 0; k < orientation % 4; ++k) {
    int r = 14 - col, c = row;
    row = r;
    col = c;
  }
  return 32 * row + col;
}

int BookFindSignature(int* first, const uint8_t* signature) {
  int lo = 0, hi = bookCount;
  *first = hi;
  if (bookCount == 0) return 0;
  FILE* f = OpenRegularStream(kRecordFile);
  if (!f) return 0;
  BookRecord record;
  int found = -1;
  // Position 0 is never compared: the book keeps a sentinel there.
  while (hi - lo >= 2) {
    int mid = (lo + hi) / 2;
    if (!ReadRecord(f, bookIndex[mid], record)) break;
    int cmp = CompareSignature(record.signature, signature);
    if (cmp == 0) {
      found = mid;
      break;
    }
    if (cmp < 0)
      lo = mid;
    else
      hi = mid;
  }
  if (found < 0) {
    std::fclose(f);
    *first = hi;
    return 0;
  }
  while (found > 0 && ReadRecord(f, bookIndex[found - 1], record) &&
         CompareSignature(record.signature, signature) == 0)
    --found;
  std::fclose(f);
  *first = found;
  return 1;
}

int BookLookup(int* cell, int* extra) {
  uint8_t signature[SIGNATURE_BYTES];
  int orientation = CanonicalSignature(signature);
  int first;
  if (BookFindSignature(&first, signature) != 1) return -1;
  FILE* f = OpenRegularStream(kRecordFile);
  if (!f) return -1;

  int best = 0, chosen = -1, chosenExtra = 0;
  int candidates[BOOK_CANDIDATES_MAX];
  int candidateCount = 0;
  bool damaged = false;
  BookRecord record;
  for (int i = first; i < bookCount; ++i) {
    if (!ReadRecord(f, bookIndex[i], record)) {
      damaged = true;
      break;
    }
    if (CompareSignature(record.signature, signature) != 0) break;
    // A move off the board or onto a stone would corrupt the game: such a record is no choice.
    int row = record.move / 32, col = record.move % 32;
    if (!InPlayingArea(row, col) ||
        gameBoard[CanonicalToCell(record.move, orientation)] != CELL_EMPTY) {
      damaged = true;
      continue;
    }
    if (record.weight == BOOK_WEIGHT_EQUAL) {
      if (candidateCount < BOOK_CANDIDATES_MAX) candidates[candidateCount++] = record.move;
    } else if (record.weight > best) {
      best = record.weight;
      chosen = record.move;
      chosenExtra = record.extra << 16;
    }
  }
  std::fclose(f);

  if (candidateCount > 0) {
    best = BOOK_WEIGHT_EQUAL;
    chosen = candidates[Random(static_cast<uint16_t>(candidateCount))];
  }
  if (best == 0) return damaged ? -1 : 0;
  *cell = CanonicalToCell(chosen, orientation);
  *extra = chosenExtra;
  return best;
}

void BookInsertIndex(int position, uint16_t recordNumber) {
  if (bookCount >= BOOK_INDEX_MAX - 1 || position < 0 || position > bookCount) return;
  std::memmove(bookIndex + position + 1, bookIndex + position,
               (bookCount - position) * sizeof bookIndex[0]);
  bookIndex[position] = recordNumber;
  ++bookCount;
  FILE* f = std::fopen(kIndexFile, "wb");
  if (!f) return;
  uint8_t raw[2 * BOOK_INDEX_MAX];
  for (int i = 0; i < bookCount; ++i) {
    raw[2 * i] = static_cast<uint8_t>(bookIndex[i]);
    raw[2 * i + 1] = static_cast<uint8_t>(bookIndex[i] >> 8);
  }
  std::fwrite(raw, 2, bookCount, f);
  std::fclose(f);
}

void BookAddRecord(uint8_t weight, int cell, int extra) {
  if (bookCount >= BOOK_INDEX_MAX - 1) return;
  BookRecord added{};
  int orientation = CanonicalSignature(added.signature);
  added.weight = weight;
  added.move = static_cast<uint16_t>(CellToCanonical(cell, orientation));
  added.extra = static_cast<uint16_t>(static_cast<uint32_t>(extra) >> 16);
  uint8_t raw[BOOK_RECORD_BYTES];
  EncodeBookRecord(added, raw);

  int first;
  int position;
  if (BookFindSignature(&first, added.signature) == 1) {
    FILE* f = std::fopen(kRecordFile, "r+b");
    if (!f) return;
    BookRecord record;
    int i = first;
    for (; i < bookCount; ++i) {
      int number = bookIndex[i];
      if (!ReadRecord(f, number, record) ||
          CompareSignature(record.signature, added.signature) != 0)
        break;
      if (record.move == added.move) {
        if (weight > record.weight &&
            std::fseek(f, static_cast<long>(number) * BOOK_RECORD_BYTES, SEEK_SET) == 0)
          std::fwrite(raw, 1, sizeof raw, f);
        std::fclose(f);
        return;
      }
      if (record.weight > weight) {
        std::fclose(f);
        return;
      }
    }
    std::fclose(f);
    position = i;
  } else {
    position = first;
  }

  FILE* f = std::fopen(kRecordFile, "ab");
  if (!f) return;
  long length = std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
  if (length < 0) {
    std::fclose(f);
    return;
  }
  bool written = std::fwrite(raw, 1, sizeof raw, f) == sizeof raw;
  written = std::fclose(f) == 0 && written;
  if (written) BookInsertIndex(position, static_cast<uint16_t>(length / BOOK_RECORD_BYTES));
}
