// The readable opening list (data/openings.txt): one line of play per line,
// "<stones in playing order> : <reply>[*weight] ...   # comment".
#pragma once
#include <istream>
#include <string>
#include <vector>

struct OpeningReply {
  int cell;
  int weight;
};

struct OpeningLine {
  int lineNumber;
  std::vector<int> stones;  // board cells, black first
  std::vector<OpeningReply> replies;
  std::string comment;
};

// "h8" -> 359; columns a..o left to right, rows 1..15 bottom to top. -1 when not a cell.
int ParseCell(const std::string& text);
std::string CellName(int cell);

// The position the stones make (black first) as the book keys it: the same for all eight
// mirror images. Needs the book's quinary index built (BuildQuinaryIndex; AiInit builds it).
std::string PositionKey(const std::vector<int>& stones);

// Reads the whole list; on the first bad line returns false with "line N: why" in error.
bool ParseOpeningList(std::istream& in, std::vector<OpeningLine>& lines, std::string& error);
