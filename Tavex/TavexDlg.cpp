#include "TavexDlg.h"

#include <cstring>
#include <vector>

#include "AiEngine.h"
#include "DlgActiveMovie.h"
#include "DlgChessAc.h"
#include "DlgGameMenu.h"
#include "DlgGamePoint.h"
#include "DlgGameSaveLoad.h"
#include "DlgGameStart.h"
#include "DlgGameTable.h"
#include "DlgHow.h"
#include "DlgInput.h"
#include "DlgLicense.h"
#include "DlgMain.h"
#include "DlgTital.h"
#include "DlgTopList.h"
#include "Screen.h"
#include "StdDialogs.h"
#include "WinFile.h"

namespace {

const char* const kEffectFiles[EFFECT_COUNT] = {
    "sound\\Dipping_.wav", "sound\\Bass.wav",  "sound\\Plop_.wav",
    "sound\\Driphit.wav",  "sound\\Error.wav", "sound\\FX014.wav",
};

const char* const kCursorFiles[CURSOR_SHAPES] = {"cursor\\cursor_0.bmp", "cursor\\cursor_1.bmp",
                                                 "cursor\\cursor_2.bmp", "cursor\\cursor_3.bmp"};

const char* const kSoundConfig = "Sound.cfg";
const char* const kTopTenFile = "top10.dat";
constexpr int kTopTenBytes = int(sizeof(PlayerRecord)) * 2 * 3 * TOPTEN_PLACES;

}  // namespace

CTavexDlg::CTavexDlg(CWnd* parent) : CDialog(IDD_TAVEX_DIALOG, parent) {}

CTavexDlg::~CTavexDlg() {
  DestroyScreens();
  ReleaseMedia();
}

BOOL CTavexDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  HICON appIcon = LoadIconFromFile(dataPath + "img\\icon.bmp");
  SetIcon(appIcon, TRUE);
  SetIcon(appIcon, FALSE);
  SetWindowText("Tavex");
  SeedRandom(timeGetTime());

  if (!directDraw.InitDisplay(640, 480, this, FALSE)) {
    EndDialog(0);
    return TRUE;
  }
  directSound.InitSound();
  LoadSoundConfig();
  LoadCursors();
  InitRoster();
  ConstructScreens();
  FreeImagePage(&loadingImage);
  directDraw.LoadImagePage(&loadingImage, dataPath + "img\\Loading.bmp");
  ShowCursor(FALSE);

  {
    CDlgTital title(this);
    title.DoModal();
  }

  LoadSoundEffects();
  LoadTopTen();
  engineReady = AiInit();
  if (!engineReady) {
    // Without its tables the computer cannot play: say which file and end cleanly.
    CString text;
    text.Format("No open %s", aiLoadFailure ? aiLoadFailure : "tables");
    DdMessage(text);
    quitRequested = 1;
  }
  CollapseWindow();

  while (!quitRequested) {
    dlgMain->DoModal();
    const int choice = dlgMain->result;
    switch (choice) {
      case MENU_FREE_GAME: RunFreeGame(); break;
      case MENU_TOURNAMENT_A: RunTournament(GAMEKIND_TOURNAMENT_A); break;
      case MENU_TOURNAMENT_B: RunTournament(GAMEKIND_TOURNAMENT_B); break;
      case MENU_LADDER: RunLadder(); break;
      case MENU_TOP_LIST: dlgTopList->DoModal(); break;
      case MENU_HOW_TO: dlgHow->DoModal(); break;
      default: break;
    }
    if (choice == MENU_QUIT || quitRequested) {
      quitRequested = 1;
      break;
    }
  }

  if (engineReady) AiFree();
  engineReady = false;
  directDraw.ReleaseDisplay();
  DestroyScreens();
  EndDialog(0);
  return TRUE;
}

void CTavexDlg::ConstructScreens() {
  dlgMain = new CDlgMain(this);
  dlgHow = new CDlgHow(this);
  dlgChessAc = new CDlgChessAc(this);
  dlgTopList = new CDlgTopList(this);
  dlgGameMenu = new CDlgGameMenu(this);
  dlgGameSaveLoad = new CDlgGameSaveLoad(this);
  dlgActiveMovie = new CDlgActiveMovie(nullptr);
  dlgGameStart = new CDlgGameStart(this);
  dlgCertificate = new CDlgCertificate(this);
  dlgGameTable = new CDlgGameTable(this);
  dlgGamePoint = new CDlgGamePoint(this);
  dlgInput = new CDlgInput(this);
}

namespace {
template <class T>
void DeleteScreen(T*& screen) {
  delete screen;
  screen = nullptr;
}
}  // namespace

void CTavexDlg::DestroyScreens() {
  DeleteScreen(dlgInput);
  DeleteScreen(dlgGamePoint);
  DeleteScreen(dlgGameTable);
  DeleteScreen(dlgCertificate);
  DeleteScreen(dlgGameStart);
  DeleteScreen(dlgActiveMovie);
  DeleteScreen(dlgGameSaveLoad);
  DeleteScreen(dlgGameMenu);
  DeleteScreen(dlgTopList);
  DeleteScreen(dlgChessAc);
  DeleteScreen(dlgHow);
  DeleteScreen(dlgMain);
}

void CTavexDlg::RunFreeGame() {
  dlgChessAc->SetupGame(nullptr, nullptr, GAME_FREE);
  dlgChessAc->DoModal();
}

void CTavexDlg::StartModeMusic(const char* name) {
  StopModeMusic();
  directSound.LoadWave(dataPath + name, &modeMusic);
  directSound.PlayMusic(&modeMusic, TRUE);
  modeMusicLoaded = true;
}

void CTavexDlg::StopModeMusic() {
  if (modeMusicLoaded) directSound.FreeSound(&modeMusic);
  modeMusicLoaded = false;
}

int CTavexDlg::PlayRosterGame(int rosterIndex, bool opponentBlack, int mode) {
  // Indexes come from a checked save or from the pairing; anything else plays a level-0 side.
  PlayerRecord* opponent = &roster[rosterIndex >= 0 && rosterIndex < ROSTER_SIZE ? rosterIndex : 0];
  if (opponentBlack)
    dlgChessAc->SetupGame(opponent, nullptr, mode);
  else
    dlgChessAc->SetupGame(nullptr, opponent, mode);
  dlgChessAc->DoModal();
  return dlgChessAc->result;
}

bool CTavexDlg::HumanWon(int gameResult) const {
  return (gameResult == RESULT_BLACK_WON || gameResult == RESULT_WHITE_WON) &&
         chessData.sides[gameResult].kind == PLAYER_HUMAN;
}

void CTavexDlg::RunTournament(GameKind kind) {
  const bool a = kind == GAMEKIND_TOURNAMENT_A;
  StartModeMusic(a ? "music\\Track08.wav" : "music\\T08.wav");
  dlgGameSaveLoad->saveKind = a ? SAVE_TOURNAMENT_A : SAVE_TOURNAMENT_B;
  dlgGameMenu->gameKind = kind;
  dlgGameTable->tournamentKind = kind;
  dlgGamePoint->tournamentKind = kind;

  dlgGameMenu->DoModal();
  bool finished = false;
  if (dlgGameMenu->result != GAMEMENU_BACK) {
    PickOpponents(a ? OPPONENTS_TOURNAMENT_A : OPPONENTS_TOURNAMENT_B);
    dlgGameSaveLoad->DoModal();
    CDlgGameTable& table = *dlgGameTable;
    table.round = 0;
    std::memset(resultMatrix, 0, sizeof resultMatrix);
    if (dlgGameMenu->result == GAMEMENU_CONTINUE) table.round = dlgGameSaveLoad->LoadTournament();
    if (dlgGameSaveLoad->result != SLOTS_CANCELLED) {
      while (table.round < TOURNAMENT_ROUNDS && !quitRequested) {
        if (!modeMusicLoaded) StartModeMusic("music\\Track08.wav");
        table.DoModal();
        // The slot holds the state before this round's game, whatever follows.
        dlgGameSaveLoad->SaveTournament(table.round);
        if (table.result == ROUND_ABANDON) break;
        StopModeMusic();  // the play screen plays its own track
        const bool opponentBlack = (table.round & 1) == 0;
        const int game = PlayRosterGame(standings[table.round + 1].rosterIndex, opponentBlack,
                                        a ? GAME_TOURNAMENT_A : GAME_TOURNAMENT_B);
        if (game == RESULT_DRAW)
          table.RecordResult(MATCH_DRAW);
        else
          table.RecordResult(HumanWon(game) ? MATCH_WON : MATCH_LOST);
        table.round += 1;
      }
      finished = table.result != ROUND_ABANDON && !quitRequested;
    }
  }
  StopModeMusic();
  if (!finished) return;

  // The final table brings the points up to date; a close on it skips the standings.
  dlgGameTable->DoModal();
  if (!quitRequested) dlgGamePoint->DoModal();
  EnterTopTen(a ? TOPLIST_TOURNAMENT_A : TOPLIST_TOURNAMENT_B, uint32_t(standings[0].points));
}

void CTavexDlg::RunLadder() {
  StartModeMusic("music\\Track10.wav");
  dlgGameSaveLoad->saveKind = SAVE_LADDER;
  dlgGameMenu->gameKind = GAMEKIND_LADDER;
  dlgGameMenu->DoModal();
  if (dlgGameMenu->result == GAMEMENU_BACK) {
    StopModeMusic();
    return;
  }
  PickOpponents(OPPONENTS_LADDER);
  CDlgGameStart& start = *dlgGameStart;
  start.level = 0;
  start.gameIndex = 0;
  start.result = ROUND_ABANDON;
  dlgGameSaveLoad->DoModal();
  if (dlgGameMenu->result == GAMEMENU_CONTINUE)
    start.level = dlgGameSaveLoad->LoadLadder(&start.gameIndex);
  if (dlgGameSaveLoad->result != SLOTS_CANCELLED) {
    StopModeMusic();
    while (start.level < LADDER_LEVEL_COUNT && !quitRequested) {
      while (start.gameIndex < LADDER_GAMES && !quitRequested) {
        start.DoModal();
        dlgGameSaveLoad->SaveLadder(start.level, start.gameIndex);
        if (start.result == ROUND_ABANDON) break;
        const int g = start.gameIndex;
        const int game = PlayRosterGame(standings[g + 1].rosterIndex, (g & 1) == 0, GAME_LADDER);
        standings[g + 1].points =
            game == RESULT_DRAW ? LADDER_DRAWN : (HumanWon(game) ? LADDER_WON : LADDER_LOST);
        int32_t lost = 0;
        for (int i = 0; i <= g; ++i) lost += standings[i + 1].points;
        standings[0].points = 2 * (g + 1) - lost;
        start.gameIndex += 1;
      }
      if (start.result == ROUND_ABANDON) break;
      // The summary shows even after a quit during a game.
      start.gameIndex = LADDER_SUMMARY;
      start.DoModal();
      start.result = ROUND_PLAY;
      start.gameIndex = 0;
      if (standings[0].points < LADDER_PASS_SCORE) {
        start.level -= 1;
        break;
      }
      if (start.level < LADDER_LEVEL_COUNT - 1) PickOpponents(OPPONENTS_LADDER + start.level + 1);
      start.level += 1;
    }
  }
  StopModeMusic();
  if (start.level > LADDER_LEVEL_COUNT - 1)
    start.level = LADDER_LEVEL_COUNT - 1;
  else if (start.level == -1 && !quitRequested)
    dlgGameSaveLoad->DeleteSave();  // a quit is no failure: the slot keeps the run
  if (start.level < 0 || start.result == ROUND_ABANDON ||
      dlgGameSaveLoad->result == SLOTS_CANCELLED || quitRequested)
    return;
  dlgCertificate->level = start.level;
  dlgCertificate->DoModal();
  EnterTopTen(TOPLIST_LADDER, uint32_t(start.level + 1));
}

void CTavexDlg::EnterTopTen(int listKind, uint32_t score) {
  const int rules = chessData.ruleSet == RULES_RENJU ? RULES_RENJU : RULES_FREESTYLE;
  PlayerRecord entry{};
  std::strcpy(entry.name, kDefaultPlayerName);
  entry.score = score;
  PlayerRecord* list = chessData.topTen[rules][listKind];
  const int place = chessData.InsertTopTen(&entry, list);
  const bool placed = place >= 1 && place <= TOPTEN_PLACES;
  // The result is on disk under the default name before the slot that could replay it goes,
  // so a close from here on loses neither.
  if (placed) SaveTopTen();
  dlgGameSaveLoad->DeleteSave();
  if (!placed || quitRequested) return;
  ShowCursor(TRUE);
  dlgInput->DoModal();
  ShowCursor(FALSE);
  StoreTopTenName(list[place - 1], dlgInput->name);
  if (rules == RULES_FREESTYLE)
    dlgTopList->freeStyleList = listKind;
  else
    dlgTopList->renjuList = listKind;
  dlgTopList->DoModal();
  SaveTopTen();
}

void CTavexDlg::CollapseWindow() { SetWindowPos(&wndNoTopMost, 0, 0, 0, 0, SWP_SHOWWINDOW); }

void CTavexDlg::TakeScreenPlace(CWnd* screen) {
  CRect r;
  screen->GetWindowRect(&r);
  SetWindowPos(&wndNoTopMost, r.left, r.top, 640, 480, SWP_SHOWWINDOW);
}

int CTavexDlg::SelectCursor(CursorShape shape) {
  if (shape < 0 || shape >= CURSOR_SHAPES) {
    directDraw.cursorPage = nullptr;
    directDraw.cursorFrame = 0;
    return 0;
  }
  if (directDraw.cursorPage == &cursorPages[shape]) return 0;
  directDraw.cursorPage = &cursorPages[shape];
  directDraw.cursorFrame = 0;
  return 1;
}

void CTavexDlg::SetRuleSet(int rules) {
  chessData.ruleSet = rules;
  AiSetRules(rules);
}

void CTavexDlg::ShowPicture(CDC* dc) {
  ImagePage page;
  directDraw.LockPage(&page, FALSE);
  directDraw.ShadeRect(&page, CRect(0, 0, 640, 480), 8, FALSE);
  const int x = (640 - int(loadingImage.width)) / 2;
  const int y = (480 - int(loadingImage.height)) / 2;
  directDraw.BltPage(&page, x, y, &loadingImage, CRect(0, -1, 0, 0), TRUE);
  directDraw.UnlockPage(FALSE);
  directDraw.Flip(dc);
}

void CTavexDlg::LoadSoundConfig() {
  // Both switches stay on unless the file holds two valid switches.
  int32_t values[2] = {1, 1};
  CFile file;
  if (!file.Open(kSoundConfig, CFile::modeRead)) return;
  int32_t read[2];
  const UINT got = file.Read(read, sizeof read);
  file.Close();
  if (got != sizeof read) return;
  for (int i = 0; i < 2; ++i) {
    if (read[i] != 0 && read[i] != 1) return;
    values[i] = read[i];
  }
  directSound.EnableChannel(CHANNEL_EFFECTS, values[0]);
  directSound.EnableChannel(CHANNEL_MUSIC, values[1]);
}

void CTavexDlg::SaveSoundConfig() {
  const int32_t values[2] = {directSound.channelEnabled[CHANNEL_EFFECTS] ? 1 : 0,
                             directSound.channelEnabled[CHANNEL_MUSIC] ? 1 : 0};
  AtomicWriteFile(kSoundConfig, values, sizeof values);
}

void CTavexDlg::LoadCursors() {
  for (int i = 0; i < CURSOR_SHAPES; ++i) {
    FreeImagePage(&cursorPages[i]);
    directDraw.LoadImagePage(&cursorPages[i], dataPath + kCursorFiles[i]);
  }
  directDraw.cursorPage = &cursorPages[0];
}

void CTavexDlg::LoadSoundEffects() {
  for (int i = 0; i < EFFECT_COUNT; ++i) {
    directSound.FreeSound(&soundEffects[i]);
    directSound.LoadWave(dataPath + kEffectFiles[i], &soundEffects[i]);
  }
}

void CTavexDlg::LoadTopTen() {
  // Whole entries only: a torn last entry of a short file stays an empty place.
  std::memset(chessData.topTen, 0, sizeof chessData.topTen);
  CFile file;
  if (!file.Open(kTopTenFile, CFile::modeRead)) return;
  std::vector<uint8_t> bytes(kTopTenBytes, 0);
  const UINT got = file.Read(bytes.data(), kTopTenBytes);
  file.Close();
  const UINT whole = got - got % sizeof(PlayerRecord);
  std::memcpy(chessData.topTen, bytes.data(), whole);
}

void CTavexDlg::SaveTopTen() { AtomicWriteFile(kTopTenFile, chessData.topTen, kTopTenBytes); }

void CTavexDlg::OnOK() {
  quitRequested = 1;
  CDialog::OnOK();
}

void CTavexDlg::OnCancel() {
  quitRequested = 1;
  CDialog::OnCancel();
}

void CTavexDlg::OnPaint() {
  // Between two screens the host shows the page the last one left.
  CPaintDC dc(this);
  if (!IsIconic()) directDraw.Flip(&dc);
}

BOOL CTavexDlg::OnEraseBkgnd(CDC*) { return TRUE; }

BOOL CTavexDlg::DestroyWindow() {
  if (quitRequested == 1) {
    SaveSoundConfig();
    ReleaseMedia();
  }
  return CDialog::DestroyWindow();
}

void CTavexDlg::ReleaseMedia() {
  FreeImagePage(&loadingImage);
  for (auto& e : soundEffects) directSound.FreeSound(&e);
  directSound.FreeSound(&modeMusic);
  if (directDraw.cursorPage >= cursorPages && directDraw.cursorPage < cursorPages + CURSOR_SHAPES)
    directDraw.cursorPage = nullptr;
  for (auto& c : cursorPages) FreeImagePage(&c);
  directSound.ReleaseSound();
}
