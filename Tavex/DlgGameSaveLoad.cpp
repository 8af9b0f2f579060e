#include "DlgGameSaveLoad.h"

#include <cstring>
#include <vector>

#include "TavexDlg.h"
#include "WinFile.h"

namespace {

const char* const kPictures[SAVE_KINDS] = {"img\\GameMenu_0_1.bmp", "img\\GameMenu_1_1.bmp",
                                           "img\\GameMenu_2_1.bmp"};

constexpr TitleBarSprites kTitleSprites = {.windowed = {569, 498, 586, 515},
                                           .fullScreen = {587, 498, 604, 515},
                                           .minimize = {605, 498, 622, 515},
                                           .close = {623, 498, 640, 515},
                                           .mark = {587, 480, 604, 497}};

constexpr COLORREF kLabelChosen = RGB(42, 1, 0);
constexpr COLORREF kLabelChosenShadow = RGB(147, 98, 58);
constexpr COLORREF kLabelIdle = RGB(128, 128, 128);
constexpr COLORREF kLabelIdleShadow = RGB(224, 166, 105);

constexpr int kMatchCodes = 5;  // won, drawn, lost, none, pending

static_assert(sizeof(Standing) * 8 == 64);

// The whole file, or false when it does not open or does not have exactly `size` bytes.
bool ReadExactly(const char* name, void* out, UINT size) {
  CFile file;
  if (!file.Open(name, CFile::modeRead)) return false;
  // One byte more than wanted tells a longer file from an exact one.
  std::vector<uint8_t> bytes(size + 1);
  const UINT got = file.Read(bytes.data(), size + 1);
  file.Close();
  if (got != size) return false;
  std::memcpy(out, bytes.data(), size);
  return true;
}

bool IsRosterIndex(int32_t i) { return i >= 0 && i < ROSTER_SIZE; }

}  // namespace

CString SaveSlotFileName(int ruleSet, int saveKind, int slot) {
  CString name;
  name.Format("save\\%02d_%02d_%02d.sav", ruleSet, saveKind, slot);
  return name;
}

CString SaveSlotLabel(const char* fileName) {
  CFileStatus status;
  if (!CFile::GetStatus(fileName, status)) return CString("空白存檔");
  const CTime& t = status.m_mtime;
  CString label;
  label.Format("%04d年%2d月%2d日 %02d:%02d:%02d", t.GetYear(), t.GetMonth(), t.GetDay(),
               t.GetHour(), t.GetMinute(), t.GetSecond());
  return label;
}

CDlgGameSaveLoad::CDlgGameSaveLoad(CTavexDlg* host) : CScreen(IDD, host) {
  buttonTable = {.buttons = buttons, .count = SLOT_BUTTONS};
}

CString CDlgGameSaveLoad::SlotFileName() const {
  return SaveSlotFileName(host->chessData.ruleSet, saveKind, slot);
}

void CDlgGameSaveLoad::RefreshSlotLabels() {
  for (int s = 0; s < SAVE_SLOTS; ++s)
    slotLabels[s] = SaveSlotLabel(SaveSlotFileName(host->chessData.ruleSet, saveKind, s));
}

void CDlgGameSaveLoad::SaveTournament(int32_t round) {
  uint8_t bytes[kTournamentSlotBytes];
  std::memcpy(bytes, &round, 4);
  std::memcpy(bytes + 4, host->standings, 64);
  std::memcpy(bytes + 68, host->resultMatrix, 64);
  // Saved before every round: a crash while writing must not take the last good state with it.
  AtomicWriteFile(SlotFileName(), bytes, sizeof bytes);
}

int32_t CDlgGameSaveLoad::LoadTournament() {
  uint8_t bytes[kTournamentSlotBytes];
  if (!ReadExactly(SlotFileName(), bytes, sizeof bytes)) return 0;
  int32_t round;
  Standing standings[8];
  uint8_t matrix[8][8];
  std::memcpy(&round, bytes, 4);
  std::memcpy(standings, bytes + 4, 64);
  std::memcpy(matrix, bytes + 68, 64);
  // Every value ends up as an index somewhere; a file that does not fit is an empty slot.
  if (round < 0 || round > 6 || standings[0].rosterIndex != -1) return 0;
  for (int i = 1; i < 8; ++i)
    if (!IsRosterIndex(standings[i].rosterIndex)) return 0;
  for (auto& row : matrix)
    for (uint8_t code : row)
      if (code >= kMatchCodes) return 0;
  std::memcpy(host->standings, standings, sizeof standings);
  std::memcpy(host->resultMatrix, matrix, sizeof matrix);
  return round;
}

void CDlgGameSaveLoad::SaveLadder(int32_t level, int32_t game) {
  uint8_t bytes[kLadderSlotBytes];
  std::memcpy(bytes, &level, 4);
  std::memcpy(bytes + 4, &game, 4);
  std::memcpy(bytes + 8, host->standings, 64);
  AtomicWriteFile(SlotFileName(), bytes, sizeof bytes);
}

int32_t CDlgGameSaveLoad::LoadLadder(int32_t* game) {
  uint8_t bytes[kLadderSlotBytes];
  if (!ReadExactly(SlotFileName(), bytes, sizeof bytes)) return 0;
  int32_t level, savedGame;
  Standing standings[8];
  std::memcpy(&level, bytes, 4);
  std::memcpy(&savedGame, bytes + 4, 4);
  std::memcpy(standings, bytes + 8, 64);
  if (level < 0 || level > 11 || savedGame < 0 || savedGame > 3 || standings[0].rosterIndex != -1)
    return 0;
  for (int i = 1; i <= 4; ++i)
    if (!IsRosterIndex(standings[i].rosterIndex)) return 0;
  // Outcomes of the games already played: 0 won, 1 drawn, 2 lost.
  for (int i = 1; i <= savedGame; ++i)
    if (standings[i].points < 0 || standings[i].points > 2) return 0;
  std::memcpy(host->standings, standings, sizeof standings);
  if (game) *game = savedGame;
  return level;
}

void CDlgGameSaveLoad::DeleteSave() {
  // A slot that is already empty is fine: the run is over either way.
  RemoveFile(SlotFileName());
}

void CDlgGameSaveLoad::Layout() {
  LayoutTitleBar(buttons, kTitleSprites);
  SetButton(buttons[SLOT_CONFIRM], CRect(272, 326, 320, 374), CRect(0, 480, 48, 528));
  SetButton(buttons[SLOT_CANCEL], CRect(328, 326, 376, 374), CRect(49, 480, 97, 528));
  for (int s = 0; s < SAVE_SLOTS; ++s) {
    ScreenButton& b = buttons[SLOT_FIRST + s];
    // The whole line answers; the label starts further in.
    SetButton(b, CRect(176, 176 + 24 * s, 461, 198 + 24 * s), CRect());
    b.dest = CRect(200, 176 + 24 * s, 361, 198 + 24 * s);
  }
}

BOOL CDlgGameSaveLoad::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  result = SLOTS_CANCELLED;
  slot = 0;
  Layout();
  LoadPicture(kPictures[saveKind >= 0 && saveKind < SAVE_KINDS ? saveKind : 0]);
  RefreshSlotLabels();
  DrawSlots();
  host->CollapseWindow();
  ScreenOpened();
  return TRUE;
}

void CDlgGameSaveLoad::DrawSlots() {
  ImagePage page;
  BeginPage(&page);
  DrawActiveButton(&page, buttons, SLOT_FIRST, FALSE);
  graphics->UnlockPage(FALSE);

  HDC dc = nullptr;
  graphics->GetPageDC(&dc, FALSE);
  for (int s = 0; s < SAVE_SLOTS; ++s) {
    const ScreenButton& b = buttons[SLOT_FIRST + s];
    const bool lit = s == slot || b.state == BUTTON_LIT;
    graphics->TextOutShadow(&dc, b.dest.left, b.dest.top, slotLabels[s],
                            lit ? kLabelChosen : kLabelIdle,
                            lit ? kLabelChosenShadow : kLabelIdleShadow);
  }
  graphics->ReleasePageDC(&dc, FALSE);
  Present(false);
}

void CDlgGameSaveLoad::OnMouseMove(UINT flags, CPoint point) {
  PointCursor(buttons, SLOT_BUTTONS, point);
  Present(true);
  CScreen::OnMouseMove(flags, point);
}

void CDlgGameSaveLoad::Choose(int chosen, int) {
  if (chosen >= SLOT_FIRST) slot = chosen - SLOT_FIRST;
  DrawSlots();
  if (TitleBarAction(chosen)) DrawSlots();
  switch (chosen) {
    case SLOT_CONFIRM:
      result = SLOTS_CONFIRMED;
      LeaveScreen();
      break;
    case SLOT_CANCEL:
      result = SLOTS_CANCELLED;
      LeaveScreen();
      break;
    default: break;  // a slot only becomes the selection
  }
}

void CDlgGameSaveLoad::CloseProgram() {
  result = SLOTS_CANCELLED;
  host->quitRequested = 1;
  LeaveScreen();
}
