// The six save slots of a long mode: the slot screen and the slot files behind it.
#pragma once
#include "Screen.h"

enum {
  SAVE_TOURNAMENT_A = 0,
  SAVE_TOURNAMENT_B = 1,
  SAVE_LADDER = 2,
  SAVE_KINDS = 3,
  SAVE_SLOTS = 6,
};

// Buttons: the title bar 0 to 2, then these, then one per slot.
enum { SLOT_CONFIRM = 3, SLOT_CANCEL = 4, SLOT_FIRST = 5, SLOT_BUTTONS = SLOT_FIRST + SAVE_SLOTS };

// Slot file sizes: round, standings and result matrix; level, game and standings.
constexpr int kTournamentSlotBytes = 4 + 64 + 64;
constexpr int kLadderSlotBytes = 4 + 4 + 64;

// "save\RR_KK_SS.sav": rule set, save kind and slot, each two digits.
CString SaveSlotFileName(int ruleSet, int saveKind, int slot);
// The date of the slot file as the list shows it, or the empty-slot text.
CString SaveSlotLabel(const char* fileName);

// What the slot screen reports; cancelled also after a close.
enum SlotsResult : int32_t { SLOTS_CANCELLED = -1, SLOTS_CONFIRMED = 0 };

class CDlgGameSaveLoad : public CScreen {
 public:
  enum : UINT { IDD = 111 };  // dialog template

  explicit CDlgGameSaveLoad(CTavexDlg* host);

  CString slotLabels[SAVE_SLOTS];
  int32_t slot = 0;
  int32_t saveKind = SAVE_TOURNAMENT_A;  // set by the host before the screen runs
  SlotsResult result = SLOTS_CANCELLED;
  ScreenButton buttons[SLOT_BUTTONS];

  // All work on the file of the host's rule set, saveKind and slot. None tells the user
  // anything: a file that cannot be written is simply not there to continue from.
  void RefreshSlotLabels();
  void SaveTournament(int32_t round);
  // The saved round, with the host's standings and results restored; 0 and nothing changed
  // when the slot holds no usable tournament.
  int32_t LoadTournament();
  void SaveLadder(int32_t level, int32_t game);
  // The saved level, with *game and the host's standings restored; 0 and nothing changed
  // (not even *game) when the slot holds no usable ladder run.
  int32_t LoadLadder(int32_t* game);
  void DeleteSave();

  CString SlotFileName() const;
  void DrawSlots();
  void Draw() override { DrawSlots(); }

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void Choose(int button, int item) override;
  // Closing cancels; the screen does not count as left by its own choice.
  void CloseProgram() override;

 private:
  void Layout();
};
