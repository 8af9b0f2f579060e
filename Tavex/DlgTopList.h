// The top-ten lists: free-style lists on the left, Renju lists on the right, one list kind
// shown in each column.
#pragma once
#include "ChessData.h"
#include "Screen.h"

// Title bar 0 to 2, back, then the three list tabs of each column.
enum { TOPLIST_BACK = 3, TOPLIST_LEFT_TABS = 4, TOPLIST_RIGHT_TABS = 7, TOPLIST_BUTTONS = 10 };

// The name of an entry as it may be shown: at most its 20 bytes, up to the first NUL, without a
// lead byte that lost its trail byte.
CString TopTenName(const PlayerRecord& entry);
// The line a place shows in a column (0 free-style on the left, 1 Renju on the right) for a list
// kind; false when the place shows nothing (empty, or a ladder score outside 1 to 12).
bool FormatTopTenLine(int column, int listKind, const PlayerRecord& entry, CString* line);

class CDlgTopList : public CScreen {
 public:
  enum : UINT { IDD = 107 };  // dialog template

  explicit CDlgTopList(CTavexDlg* host);

  WaveSound music;
  // The list kind of each column; kept from one showing to the next, the host may set them.
  int32_t freeStyleList = TOPLIST_TOURNAMENT_A;
  int32_t renjuList = TOPLIST_TOURNAMENT_A;
  ScreenButton buttons[TOPLIST_BUTTONS];

  void DrawLists();
  void Draw() override;
  BOOL DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;
  // The screen does not count as left by its own choice.
  void CloseProgram() override;

 private:
  void Layout();
};
