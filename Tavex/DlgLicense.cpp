#include "DlgLicense.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "StdDialogs.h"
#include "SysInfo.h"
#include "TavexDlg.h"
#include "WinFile.h"

namespace {

constexpr TitleBarSprites kTitleSprites = {.windowed = {561, 498, 578, 515},
                                           .fullScreen = {579, 498, 596, 515},
                                           .minimize = {597, 498, 614, 515},
                                           .close = {615, 498, 632, 515},
                                           .mark = {579, 480, 596, 497}};

const CRect kGradeBadgeRects[kLadderLevels] = {
    {280, 480, 560, 576}, {280, 576, 560, 672},  {280, 672, 560, 768}, {280, 768, 560, 864},
    {280, 864, 560, 960}, {280, 960, 560, 1056}, {0, 480, 280, 576},   {0, 576, 280, 672},
    {0, 672, 280, 768},   {0, 768, 280, 864},    {0, 864, 280, 960},   {0, 960, 280, 1056},
};

const char* const kGradeNames[kLadderLevels] = {"十級", "十級", "十級", "九級", "九級", "八級",
                                                "八級", "七級", "七級", "六級", "六級", "五級"};

constexpr COLORREF kOfferColour = RGB(255, 255, 0);
constexpr COLORREF kOfferShadow = RGB(100, 66, 27);

// An empty 1.44 MB diskette, in FAT units.
constexpr DWORD kSectorsPerCluster = 1, kBytesPerSector = 512, kDiskClusters = 2847;

int ClampLevel(int level) {
  return level < 0 ? 0 : level >= kLadderLevels ? kLadderLevels - 1 : level;
}

bool EmptyDiskette(const char* root) {
  if (GetDriveTypeA(root) != DRIVE_REMOVABLE) return false;
  // What a killed write of ours left there is nobody's file: it must not make the disk count as
  // used.
  RemoveDeadTemporaries(NativePath(std::string(root) + "Quillan.exe"));
  DWORD sectors = 0, bytes = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectors, &bytes, &freeClusters, &clusters)) return false;
  return sectors == kSectorsPerCluster && bytes == kBytesPerSector &&
         freeClusters == kDiskClusters && clusters == kDiskClusters;
}

int DefaultMessageBox(CWnd* owner, const char* text) { return MessageBox(owner, text); }

}  // namespace

int (*CDlgCertificate::messageBox)(CWnd* owner, const char* text) = DefaultMessageBox;

const char* CertificateGradeName(int level) { return kGradeNames[ClampLevel(level)]; }

void FormatCertificateTrailer(int level, uint8_t (&trailer)[kCertificateTrailerBytes]) {
  // Nothing but the text goes onto the disk: the rest of the trailer is zeros.
  std::memset(trailer, 0, sizeof trailer);
  std::snprintf(reinterpret_cast<char*>(trailer), sizeof trailer,
                "五子棋棋力證書申請  電腦鑑定棋力為[%s!]", CertificateGradeName(level));
}

CertificateOutcome WriteCertificateDisk(int level) {
  const char* drive = nullptr;
  for (const char* root : {"A:\\", "B:\\"}) {
    if (EmptyDiskette(root)) {
      drive = root;
      break;
    }
  }
  if (!drive) return CERTIFICATE_NO_DISK;

  CFile viewer;
  if (!viewer.Open("Quillan.dat", CFile::modeRead)) return CERTIFICATE_NO_VIEWER;
  const uint64_t length = viewer.GetLength();
  if (length > UINT32_MAX - kCertificateTrailerBytes) return CERTIFICATE_WRITE_FAILED;
  std::vector<uint8_t> file(size_t(length) + kCertificateTrailerBytes);
  const UINT got = length ? viewer.Read(file.data(), UINT(length)) : 0;
  viewer.Close();
  // A viewer cut short would be a broken program on the disk.
  if (got != length) return CERTIFICATE_WRITE_FAILED;
  uint8_t trailer[kCertificateTrailerBytes];
  FormatCertificateTrailer(level, trailer);
  std::memcpy(file.data() + length, trailer, sizeof trailer);

  char path[16];
  std::snprintf(path, sizeof path, "%c:\\Quillan.exe", drive[0]);
  // Whole or not at all: a disk that fills up keeps no half-written viewer. It is a program,
  // to be run from the disk.
  return AtomicWriteFile(path, file.data(), file.size(), 0755) ? CERTIFICATE_WRITTEN
                                                               : CERTIFICATE_WRITE_FAILED;
}

CDlgCertificate::CDlgCertificate(CTavexDlg* host) : CScreen(IDD, host) {}

bool CDlgCertificate::Renju() const { return host->chessData.ruleSet != RULES_FREESTYLE; }

void CDlgCertificate::Layout() { LayoutTitleBar(TitleBarButtons, kTitleSprites); }

BOOL CDlgCertificate::OnInitDialog() {
  CDialog::OnInitDialog();
  graphics->CenterScreenWindow(this, 640, 480);
  exitRequested = 0;
  Layout();
  host->SelectCursor(CURSOR_PRESSED);
  LoadPicture("img\\License.bmp");
  Draw();
  host->CollapseWindow();
  SetFocus();
  ScreenOpened();
  // The screen runs its own loop; it waits for messages rather than spinning on an empty queue.
  MSG msg;
  while (!exitRequested) {
    GetMessage(&msg, nullptr, 0, 0);
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  EndDialog(0);
  return TRUE;
}

void CDlgCertificate::Draw() {
  ImagePage page;
  graphics->LockPage(&page, FALSE);
  graphics->BltPage(&page, 0, 0, &picture, CRect(0, 0, 640, 480), FALSE);
  graphics->BltPage(&page, 207, 145, &picture, kGradeBadgeRects[ClampLevel(level)], FALSE);
  if (host->fullScreen) {
    const CRect& d = TitleBarButtons[TITLE_FULLSCREEN].dest;
    graphics->BltPage(&page, d.left, d.top, &picture, kTitleSprites.mark, TRUE);
  }
  DrawActiveButton(&page, TitleBarButtons, TITLE_BUTTONS, FALSE);
  graphics->UnlockPage(FALSE);
  if (Renju()) {
    HDC dc = nullptr;
    graphics->GetPageDC(&dc, FALSE);
    graphics->TextOutShadow(&dc, 40, 445, "恭喜您通過檢定，現在您可將紀錄存在磁碟片上，請參考手冊",
                            kOfferColour, kOfferShadow);
    graphics->TextOutShadow(&dc, 40, 461, "上的申請辦法取得Orvane的棋力證書。存檔嗎？(Y/N)",
                            kOfferColour, kOfferShadow);
    graphics->ReleasePageDC(&dc, FALSE);
  }
  Present(true);
}

void CDlgCertificate::OnMouseMove(UINT flags, CPoint point) {
  if (PointCursor(TitleBarButtons, TITLE_BUTTONS, point))
    Draw();
  else
    Present(true);
  CScreen::OnMouseMove(flags, point);
}

void CDlgCertificate::OnLButtonDown(UINT flags, CPoint point) {
  host->SelectCursor(CURSOR_PRESSED);
  if (PressButtons(TitleBarButtons, TITLE_BUTTONS, point) != -1) {
    Draw();
  } else if (!Renju()) {
    // Without an offer to answer, any click beside the title bar moves on.
    exitRequested = 1;
    LeaveScreen();
  }
  CScreen::OnLButtonDown(flags, point);
}

void CDlgCertificate::OnLButtonUp(UINT flags, CPoint point) {
  const int chosen = ReleaseButtons(TitleBarButtons, TITLE_BUTTONS, point);
  TitleBarAction(chosen);
  Draw();
  CScreen::OnLButtonUp(flags, point);
}

void CDlgCertificate::OnChar(UINT ch, UINT repeat, UINT flags) {
  if (Renju()) {
    if (ch == 'Y' || ch == 'y') {
      SaveCertificate();
    } else {
      exitRequested = 1;
      LeaveScreen();
    }
  }
  CScreen::OnChar(ch, repeat, flags);
}

void CDlgCertificate::SaveCertificate() {
  ShowCursor(TRUE);
  const CertificateOutcome outcome = WriteCertificateDisk(level);
  if (outcome == CERTIFICATE_WRITE_FAILED) messageBox(this, "檔案寫入錯誤!");
  if (outcome == CERTIFICATE_WRITTEN) {
    messageBox(this, "完成存檔!");
    exitRequested = 1;
  } else {
    messageBox(this, "請將【磁碟片】放入磁碟機中!");
  }
  ShowCursor(FALSE);
}
