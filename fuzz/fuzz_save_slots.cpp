// Save slots of the long modes ("save\RR_KK_SS.sav"): loaded by the slot screen into the host,
// then shown as the tournament table and the ladder screen show them. Input: rule set and save
// kind, then the file.
#include <sys/stat.h>

#include "DlgGameSaveLoad.h"
#include "DlgGameTable.h"
#include "FuzzUtil.h"
#include "TavexDlg.h"
#include "WinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::EnterOwnDir();
  if (size < 1) return 0;
  static CTavexDlg host(nullptr);
  static CDlgGameSaveLoad slots(&host);
  ::mkdir("save", 0700);
  host.chessData.ruleSet = data[0] & 1;
  slots.saveKind = (data[0] >> 1 & 3) % SAVE_KINDS;
  slots.slot = (data[0] >> 3) % SAVE_SLOTS;
  fuzz::WriteFile(NativePath(slots.SlotFileName().str()).c_str(), data + 1, size - 1);
  slots.RefreshSlotLabels();
  if (slots.saveKind == SAVE_LADDER) {
    int32_t game = -1;
    const int32_t level = slots.LoadLadder(&game);
    if (level == 0) return 0;
    for (int i = 0; i < game; ++i) RosterName(&host, host.standings[i + 1].rosterIndex);
  } else {
    const int32_t round = slots.LoadTournament();
    if (round == 0) return 0;
    for (int p = 1; p < 8; ++p) {
      RosterLevel(&host, host.standings[p].rosterIndex);
      RosterName(&host, host.standings[p].rosterIndex);
      if (RowPoints(host.resultMatrix[p]) > 2 * TOURNAMENT_PLAYERS) std::abort();
    }
  }
  return 0;
}
