// The thirty computer opponents and who plays in a tournament or a ladder level.
#include <cstring>

#include "AiEngine.h"
#include "Roster.h"
#include "TavexDlg.h"

namespace {

struct RosterEntry {
  int8_t level;
  int8_t style;
  const char* name;
};

// Four of each level 0 to 5, three of level 6, two of level 7 and one of level 8.
const RosterEntry kRoster[ROSTER_SIZE] = {
    {0, 0, "小石頭"}, {4, 0, "青松子"}, {1, 0, "阿木"},   {0, 3, "小雲"},   {3, 0, "鐵牛"},
    {5, 0, "白鶴"},   {5, 3, "竹影"},   {7, 0, "夜鷹"},   {6, 0, "山風"},   {1, 3, "阿福"},
    {2, 0, "黑豆"},   {5, 6, "雪狐"},   {0, 6, "小蝌蚪"}, {2, 3, "紅葉"},   {3, 3, "石磨"},
    {5, 8, "海潮"},   {2, 6, "麻雀"},   {0, 8, "小貓咪"}, {7, 8, "雷公"},   {1, 6, "春燕"},
    {4, 3, "秋水"},   {2, 8, "野鴨"},   {4, 6, "星河"},   {6, 4, "老樹根"}, {3, 6, "銀杏"},
    {8, 4, "天元翁"}, {1, 8, "田螺"},   {4, 8, "松鼠"},   {3, 8, "明月"},   {6, 8, "寒梅"},
};

}  // namespace

const int TournamentAChoices[7][3] = {
    {17, 3, 0}, {12, 26, 19}, {9, 2, 16}, {21, 13, 10}, {4, 24, 24}, {14, 28, 28}, {27, 27, 27},
};

const int TournamentBChoices[7][2] = {
    {20, 22}, {1, 11}, {6, 15}, {5, 8}, {7, 23}, {29, 18}, {25, 25},
};

const int LadderOpponents[12][4] = {
    {17, 3, 0, 12},   {0, 12, 26, 19}, {26, 19, 9, 2},  {9, 2, 16, 21},
    {16, 21, 13, 10}, {13, 10, 4, 24}, {4, 24, 14, 28}, {14, 28, 27, 20},
    {27, 20, 22, 1},  {11, 6, 15, 5},  {8, 23, 29, 18}, {29, 18, 7, 25},
};

void CTavexDlg::InitRoster() {
  for (int i = 0; i < ROSTER_SIZE; ++i) {
    PlayerRecord& p = roster[i];
    std::memset(&p, 0, sizeof p);
    p.stoneCode = CELL_BLACK;
    p.kind = PLAYER_ROSTER;
    p.rosterId = i;
    p.level = kRoster[i].level;
    p.style = kRoster[i].style;
    std::strncpy(p.name, kRoster[i].name, sizeof p.name - 1);
  }
}

void CTavexDlg::PickOpponents(int mode) {
  for (auto& s : standings) s = Standing{0, 0};
  standings[0].rosterIndex = -1;
  if (mode == OPPONENTS_TOURNAMENT_A) {
    for (int i = 0; i < 7; ++i) standings[i + 1].rosterIndex = TournamentAChoices[i][Random(3)];
  } else if (mode == OPPONENTS_TOURNAMENT_B) {
    for (int i = 0; i < 7; ++i) standings[i + 1].rosterIndex = TournamentBChoices[i][Random(2)];
  } else if (mode >= OPPONENTS_LADDER && mode < OPPONENTS_LADDER + LADDER_LEVELS) {
    const int level = mode - OPPONENTS_LADDER;
    for (int i = 0; i < 4; ++i) standings[i + 1].rosterIndex = LadderOpponents[level][i];
  }
}
