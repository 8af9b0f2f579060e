#include "TavexDlg.h"

#include <cstring>
#include <vector>

#include "AiEngine.h"
#include "DlgActiveMovie.h"
#include "DlgGameMenu.h"
#include "DlgHow.h"
#include "DlgMain.h"
#include "DlgTital.h"
#include "Screen.h"
#include "StdDialogs.h"
#include "WinFile.h"

namespace {

const char* const kEffectFiles[EFFECT_COUNT] = {
    "sound\\Dipping_.wav", "sound\\Bass.wav",  "sound\\Plop_.wav",
    "sound\\Driphit.wav",  "sound\\Error.wav", "sound\\FX014.wav",
};

const char* const kCursorFiles[CURSOR_SHAPES] = {
    "cursor\\cursor_0.bmp", "cursor\\cursor_1.bmp", "cursor\\cursor_2.bmp", "cursor\\cursor_3.bmp"};

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
    MessageBox(this, text);
    quitRequested = 1;
  }
  CollapseWindow();

  while (!quitRequested) {
    dlgMain->DoModal();
    const int choice = dlgMain->result;
    switch (choice) {
      case MENU_TOURNAMENT_A: RunTournament(0); break;
      case MENU_TOURNAMENT_B: RunTournament(1); break;
      case MENU_LADDER: RunLadder(); break;
      case MENU_HOW_TO: dlgHow->DoModal(); break;
      // The free game and the top-ten lists come back here until their screens exist.
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
  dlgGameMenu = new CDlgGameMenu(this);
  dlgActiveMovie = new CDlgActiveMovie(nullptr);
}

void CTavexDlg::DestroyScreens() {
  delete dlgActiveMovie;
  dlgActiveMovie = nullptr;
  delete dlgGameMenu;
  dlgGameMenu = nullptr;
  delete dlgHow;
  dlgHow = nullptr;
  delete dlgMain;
  dlgMain = nullptr;
}

void CTavexDlg::RunTournament(int kind) {
  directSound.FreeSound(&modeMusic);
  directSound.LoadWave(dataPath + (kind == 0 ? "music\\Track08.wav" : "music\\T08.wav"), &modeMusic);
  directSound.PlayMusic(&modeMusic, TRUE);
  dlgGameMenu->gameKind = kind;
  dlgGameMenu->DoModal();
  if (dlgGameMenu->result != -1) PickOpponents(kind);
  // The save slots, the table and the games of a tournament take over from here once they exist.
  directSound.FreeSound(&modeMusic);
}

void CTavexDlg::RunLadder() {
  directSound.FreeSound(&modeMusic);
  directSound.LoadWave(dataPath + "music\\Track10.wav", &modeMusic);
  directSound.PlayMusic(&modeMusic, TRUE);
  dlgGameMenu->gameKind = 2;
  dlgGameMenu->DoModal();
  if (dlgGameMenu->result != -1) PickOpponents(2);
  // The save slots and the ladder rounds take over from here once they exist.
  directSound.FreeSound(&modeMusic);
}

void CTavexDlg::CollapseWindow() { SetWindowPos(&wndNoTopMost, 0, 0, 0, 0, SWP_SHOWWINDOW); }

void CTavexDlg::TakeScreenPlace(CWnd* screen) {
  CRect r;
  screen->GetWindowRect(&r);
  SetWindowPos(&wndNoTopMost, r.left, r.top, 640, 480, SWP_SHOWWINDOW);
}

int CTavexDlg::SelectCursor(int shape) {
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
