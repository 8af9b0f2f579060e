// Who may be drawn for each place of a tournament, and who plays each ladder level.
#pragma once

constexpr int LADDER_LEVELS = 12;

extern const int TournamentAChoices[7][3];
extern const int TournamentBChoices[7][2];
extern const int LadderOpponents[12][4];
