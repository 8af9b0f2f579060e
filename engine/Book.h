// The opening book: "book.rec" (56-byte records) and "book.ndx" (record numbers in signature
// order), read from the current directory. A position is keyed by the largest of its eight
// symmetric signatures, so one record serves every mirror image.
#pragma once
#include <cstdint>

constexpr int SIGNATURE_BYTES = 45;
constexpr int BOOK_RECORD_BYTES = 56;
constexpr int BOOK_INDEX_MAX = 16384;
constexpr int BOOK_WEIGHT_EQUAL = 128;  // one of several equal choices; beats any other weight
constexpr int BOOK_CANDIDATES_MAX = 64;

// In memory the record is kept unpacked; on disk it is the little-endian 56-byte layout.
struct BookRecord {
  uint8_t signature[SIGNATURE_BYTES];
  uint8_t weight;
  uint16_t move;  // canonical 32 x row + col
  uint16_t extra;
  uint8_t reserved[6];
};

// (start cell, column step, row step) of BoardSignature for orientations 0..7.
struct Orientation {
  int start, colStep, rowStep;
};
extern const Orientation bookOrientations[8];

extern uint8_t quinaryIndex[1024];
extern uint16_t bookIndex[BOOK_INDEX_MAX];
extern int bookCount;

void BuildQuinaryIndex();
void LoadBookIndex();

uint8_t CellRunCode(int cell, int step);
void BoardSignature(int start, int colStep, int rowStep, uint8_t* out);
int CompareSignature(const uint8_t* a, const uint8_t* b);
int CanonicalSignature(uint8_t* out);
int BookFindSignature(int* first, const uint8_t* signature);
int BookLookup(int* cell, int* extra);

// The same on any 736-byte board (the generator and tests keep boards of their own).
uint8_t CellRunCodeOf(const uint8_t* board, int cell, int step);
void BoardSignatureOf(const uint8_t* board, int start, int colStep, int rowStep, uint8_t* out);
int CanonicalSignatureOf(const uint8_t* board, uint8_t* out);

// A canonical move turned onto the board of orientation o, and back.
int CanonicalToCell(int move, int orientation);
int CellToCanonical(int cell, int orientation);

// Record layout on disk.
void EncodeBookRecord(const BookRecord& record, uint8_t* out);
void DecodeBookRecord(const uint8_t* in, BookRecord& record);

// The book's writers: the game never calls them; the book generator does.
void BookAddRecord(uint8_t weight, int cell, int extra);
void BookInsertIndex(int position, uint16_t recordNumber);
