#include "OpeningList.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "AiEngine.h"
#include "Book.h"

int ParseCell(const std::string& text) {
  if (text.size() < 2 || text.size() > 3 || text[0] < 'a' || text[0] > 'o') return -1;
  int number = 0;
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    number = number * 10 + (text[i] - '0');
  }
  if (text[1] == '0' || number < 1 || number > 15) return -1;
  return 128 + 32 * (15 - number) + (text[0] - 'a');
}

std::string CellName(int cell) {
  int row = (cell - 128) / 32, col = (cell - 128) % 32;
  std::string name(1, static_cast<char>('a' + col));
  name += std::to_string(15 - row);
  return name;
}

namespace {
bool Fail(std::string& error, int lineNumber, const std::string& why) {
  error = "line " + std::to_string(lineNumber) + ": " + why;
  return false;
}
}  // namespace

bool ParseOpeningList(std::istream& in, std::vector<OpeningLine>& lines, std::string& error) {
  std::string text;
  for (int lineNumber = 1; std::getline(in, text); ++lineNumber) {
    OpeningLine line{lineNumber, {}, {}, {}};
    size_t hash = text.find('#');
    if (hash != std::string::npos) {
      line.comment = text.substr(hash + 1);
      line.comment.erase(0, line.comment.find_first_not_of(" \t"));
      text.erase(hash);
    }
    if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
    size_t colon = text.find(':');
    if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos)
      return Fail(error, lineNumber, "expected one ':' between the stones and the replies");

    std::istringstream stones(text.substr(0, colon));
    for (std::string word; stones >> word;) {
      int cell = ParseCell(word);
      if (cell < 0) return Fail(error, lineNumber, "'" + word + "' is not a cell");
      if (std::find(line.stones.begin(), line.stones.end(), cell) != line.stones.end())
        return Fail(error, lineNumber, word + " is played twice");
      line.stones.push_back(cell);
    }
    if (line.stones.empty()) return Fail(error, lineNumber, "no stones before ':'");

    std::istringstream replies(text.substr(colon + 1));
    for (std::string word; replies >> word;) {
      int weight = 128;
      size_t star = word.find('*');
      if (star != std::string::npos) {
        std::string number = word.substr(star + 1);
        if (number.empty() || number.size() > 3 ||
            number.find_first_not_of("0123456789") != std::string::npos || std::stoi(number) > 255)
          return Fail(error, lineNumber, "'" + word + "': the weight must be 0..255");
        weight = std::stoi(number);
        word.erase(star);
      }
      int cell = ParseCell(word);
      if (cell < 0) return Fail(error, lineNumber, "'" + word + "' is not a cell");
      if (std::find(line.stones.begin(), line.stones.end(), cell) != line.stones.end())
        return Fail(error, lineNumber, "the reply " + word + " is already taken");
      for (const OpeningReply& r : line.replies)
        if (r.cell == cell) return Fail(error, lineNumber, "the reply " + word + " is given twice");
      line.replies.push_back({cell, weight});
    }
    if (line.replies.empty()) return Fail(error, lineNumber, "no reply after ':'");
    lines.push_back(std::move(line));
  }
  return true;
}

std::string PositionKey(const std::vector<int>& stones) {
  uint8_t board[BOARD_BYTES];
  std::memset(board, CELL_BORDER, sizeof board);
  for (int row = 0; row < 15; ++row) std::memset(board + CellAt(row, 0), CELL_EMPTY, 15);
  for (size_t i = 0; i < stones.size(); ++i) board[stones[i]] = (i & 1) ? CELL_WHITE : CELL_BLACK;
  uint8_t signature[SIGNATURE_BYTES];
  CanonicalSignatureOf(board, signature);
  return std::string(reinterpret_cast<char*>(signature), SIGNATURE_BYTES);
}
