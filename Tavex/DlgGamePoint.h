// The final standings of a finished tournament: the first three places with their points.
#pragma once
#include <cstdint>

#include "Screen.h"
#include "TavexDlg.h"

enum : UINT { IDD_DLG_GAMEPOINT = 116 };

enum { POINT_CONTINUE = 3, POINT_BUTTONS = 4 };

// Orders eight standings by points, highest first, by repeatedly moving the first lowest of the
// unsorted front to its end. Its order of equal scores is what the screen shows.
void SortByPoints(Standing standings[8]);

class CDlgGamePoint : public CScreen {
 public:
  explicit CDlgGamePoint(CTavexDlg* host);

  Standing sortedStandings[8] = {};
  int32_t tournamentKind = 0;  // 0 tournament A, anything else tournament B
  int32_t result = -1;         // 0 after continue; nobody reads it
  // Title bar 0 to 2, then continue; state 1 is pressed.
  ScreenButton buttons[POINT_BUTTONS];

  void SortStandings();
  void DrawStandings();
  void Draw() override { DrawStandings(); }

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;

 private:
  void Layout();
};
