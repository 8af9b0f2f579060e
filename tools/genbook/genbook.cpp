// Builds "book.rec" and "book.ndx" from readable opening lists with the engine's own book
// writers, so the book holds exactly what the engine's lookup finds.
//
//     genbook <list.txt>... <output directory>
//
// A position (in any of its mirror images) listed by several files takes its replies from the
// first file that lists it: a hand-written list given first overrides generated ones.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "AiEngine.h"
#include "Book.h"
#include "OpeningList.h"

namespace {
void SetUpPosition(const OpeningLine& line) {
  std::memset(gameBoard, CELL_BORDER, sizeof gameBoard);
  for (int row = 0; row < 15; ++row) std::memset(gameBoard + CellAt(row, 0), CELL_EMPTY, 15);
  for (size_t i = 0; i < line.stones.size(); ++i)
    gameBoard[line.stones[i]] = (i & 1) ? CELL_WHITE : CELL_BLACK;
}

int Die(const std::string& why, const std::string& workDir = "") {
  std::fprintf(stderr, "genbook: %s\n", why.c_str());
  if (!workDir.empty()) {
    std::remove((workDir + "/book.rec").c_str());
    std::remove((workDir + "/book.ndx").c_str());
    rmdir(workDir.c_str());
  }
  return 1;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Die("usage: genbook <list.txt>... <output directory>");
  const int files = argc - 2;
  BuildQuinaryIndex();  // the position keys read it
  struct Listed {
    int file;
    OpeningLine line;
    std::string key;  // the position, as the book keys it
  };
  std::vector<Listed> lines;
  for (int file = 0; file < files; ++file) {
    std::ifstream in(argv[1 + file]);
    if (!in) return Die(std::string("cannot read ") + argv[1 + file]);
    std::vector<OpeningLine> read;
    std::string error;
    if (!ParseOpeningList(in, read, error)) return Die(std::string(argv[1 + file]) + ": " + error);
    for (OpeningLine& line : read) {
      std::string key = PositionKey(line.stones);
      lines.push_back({file, std::move(line), std::move(key)});
    }
  }

  char* outDir = realpath(argv[argc - 1], nullptr);
  if (!outDir) return Die(std::string("no directory ") + argv[argc - 1]);
  std::string out = outDir;
  std::free(outDir);
  std::string work = out + "/.genbook-XXXXXX";
  if (!mkdtemp(work.data())) return Die("cannot make a work directory in " + out);
  if (chdir(work.c_str()) != 0) return Die("cannot enter " + work, work);

  bookCount = 0;
  // The book's search never compares index position 0, so the smallest signature there must
  // be one nobody looks up: the empty board, which the think entry answers by itself.
  OpeningLine empty{0, {}, {}, {}};
  SetUpPosition(empty);
  BookAddRecord(0, CENTRE_CELL, 0);

  // Each position belongs to the first file that lists it.
  std::map<std::string, int> owner;  // canonical signature -> file
  for (const Listed& l : lines) owner.emplace(l.key, l.file);

  // Lower weights first: the writer refuses a record whose position already has a heavier
  // record for another move.
  struct Pending {
    const Listed* listed;
    OpeningReply reply;
  };
  std::vector<Pending> pending;
  for (const Listed& l : lines)
    if (owner[l.key] == l.file)
      for (const OpeningReply& reply : l.line.replies) pending.push_back({&l, reply});
  std::stable_sort(pending.begin(), pending.end(), [](const Pending& a, const Pending& b) {
    return a.reply.weight < b.reply.weight;
  });

  std::map<std::string, std::set<int>> expected;  // canonical signature -> canonical moves
  int records = 0;
  for (const Pending& p : pending) {
    SetUpPosition(p.listed->line);
    uint8_t signature[SIGNATURE_BYTES];
    int orientation = CanonicalSignature(signature);
    if (p.reply.weight > 0)
      expected[p.listed->key].insert(CellToCanonical(p.reply.cell, orientation));
    int before = bookCount;
    BookAddRecord(static_cast<uint8_t>(p.reply.weight), p.reply.cell, 0);
    records += bookCount - before;
  }
  if (bookCount >= BOOK_INDEX_MAX - 1) return Die("the book is full", work);

  // Read the book back as the game does and look every line up.
  LoadBookIndex();
  for (const auto& [file, line, key] : lines) {
    auto want = expected.find(key);
    if (want == expected.end()) continue;
    SetUpPosition(line);
    uint8_t signature[SIGNATURE_BYTES];
    int orientation = CanonicalSignature(signature);
    int cell = 0, extra = 0;
    int weight = BookLookup(&cell, &extra);
    if (weight <= 0 || !want->second.count(CellToCanonical(cell, orientation)))
      return Die(std::string(argv[1 + file]) + ": line " + std::to_string(line.lineNumber) +
                     ": the book does not answer this position",
                 work);
  }

  for (const char* name : {"book.rec", "book.ndx"}) {
    if (std::rename((work + "/" + name).c_str(), (out + "/" + name).c_str()) != 0)
      return Die(std::string("cannot write ") + out + "/" + name, work);
  }
  rmdir(work.c_str());
  std::printf("genbook: %zu lines, %d records, %d index entries\n", lines.size(), records + 1,
              bookCount);
  return 0;
}
