#include "QuillanDlg.h"

#include "Big5.h"
#include "CertTrailer.h"
#include "FaceFile.h"
#include "Fonts.h"
#include "MessageBox.h"

namespace {

// The dialog is laid out in dialog units of its 9-point Ming font: 6 x 12 pixel base units.
constexpr int DluX(int x) { return (x * 6 + 2) / 4; }
constexpr int DluY(int y) { return (y * 12 + 4) / 8; }

constexpr int kClientWidth = DluX(320), kClientHeight = DluY(25);
constexpr SDL_Rect kEditRect{DluX(5), DluY(5), DluX(310), DluY(15)};
constexpr int kFontPx = 12;  // 9 points at 96 pixels per inch
constexpr Uint32 kCaretBlinkMs = 530;

// The window icon: a black stone on a board square.
SDL_Surface* MakeIcon() {
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!icon) return nullptr;
  auto* px = static_cast<Uint32*>(icon->pixels);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int dx = 2 * x - 31, dy = 2 * y - 31;
      Uint32 c = 0xFFDCB060;
      if (x == 15 || y == 15) c = 0xFF6B4A20;
      if (dx * dx + dy * dy <= 22 * 22) c = dx + dy < -14 ? 0xFF606060 : 0xFF101010;
      px[y * icon->pitch / 4 + x] = c;
    }
  return icon;
}

}  // namespace

CQuillanDlg::CQuillanDlg(std::string exePath)
    : exePath_(std::move(exePath)), appName_(AppNameFromPath(exePath_)) {
  messageBox = [](const std::string& text, const std::string& caption) {
    RunMessageBox(text, caption);
  };
}

CQuillanDlg::~CQuillanDlg() {
  if (canvas_) SDL_FreeSurface(canvas_);
  if (window_) SDL_DestroyWindow(window_);
  if (font_) TTF_CloseFont(font_);
  if (ttf_) TTF_Quit();
}

bool CQuillanDlg::Create() {
  // Hidden until initialised, so that a message box from OnInitDialog comes first.
  window_ = SDL_CreateWindow(Big5ToUtf8("五子棋電腦程式棋力鑑定").c_str(), 0, 0, kClientWidth,
                             kClientHeight, SDL_WINDOW_HIDDEN);
  if (!window_) return false;
  canvas_ =
      SDL_CreateRGBSurfaceWithFormat(0, kClientWidth, kClientHeight, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!canvas_) return false;
  ttf_ = TTF_Init() == 0;
  if (ttf_) font_ = OpenFace(FontFace::Ming, kFontPx);
  if (!font_) {
    // A box that can draw nothing would look like a certificate with no text.
    ReportNoFace(appName_.c_str());
    return true;
  }

  running_ = true;
  OnInitDialog();
  if (!running_) return true;
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  caretPhaseStart_ = SDL_GetTicks();
  Paint();
  return true;
}

bool CQuillanDlg::OnInitDialog() {
  if (SDL_Surface* icon = MakeIcon()) {
    SDL_SetWindowIcon(window_, icon);
    SDL_FreeSurface(icon);
  }
  m_certText.Create(kEditRect, font_);

  TrailerRead read = ReadCertificateTrailer(CertificateFileName(exePath_));
  if (read.opened)
    m_certText.SetWindowText(read.text);
  else
    messageBox("File Error!", appName_);
  // The dialog manager gives the first control the focus with all of its text selected.
  m_certText.SetSel(0, -1);
  return true;
}

void CQuillanDlg::EndDialog(int result) {
  result_ = result;
  running_ = false;
}

void CQuillanDlg::Paint() {
  if (!canvas_) return;
  SDL_FillRect(canvas_, nullptr, SDL_MapRGB(canvas_->format, 212, 208, 200));
  const bool caretOn = focused_ && ((SDL_GetTicks() - caretPhaseStart_) / kCaretBlinkMs) % 2 == 0;
  m_certText.Draw(canvas_, caretOn);
  if (SDL_Surface* screen = SDL_GetWindowSurface(window_)) {
    SDL_BlitSurface(canvas_, nullptr, screen, nullptr);
    SDL_UpdateWindowSurface(window_);
  }
}

void CQuillanDlg::HandleEvent(const SDL_Event& e) {
  const Uint32 id = SDL_GetWindowID(window_);
  switch (e.type) {
    case SDL_QUIT: EndDialog(IDCANCEL); break;
    case SDL_WINDOWEVENT:
      if (e.window.windowID != id) break;
      if (e.window.event == SDL_WINDOWEVENT_CLOSE) EndDialog(IDCANCEL);
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focused_ = true;
      if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) focused_ = false;
      break;
    case SDL_KEYDOWN:
      if (e.key.windowID != id && e.key.windowID != 0) break;
      // Enter and Escape are the dialog's OK and cancel, as the dialog manager makes them.
      if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER)
        EndDialog(IDOK);
      else if (e.key.keysym.sym == SDLK_ESCAPE)
        EndDialog(IDCANCEL);
      else
        m_certText.OnKeyDown(e.key.keysym);
      caretPhaseStart_ = SDL_GetTicks();
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT &&
          m_certText.Contains(e.button.x, e.button.y)) {
        m_certText.OnMouseDown(e.button.x, e.button.y, SDL_GetModState() & KMOD_SHIFT);
        caretPhaseStart_ = SDL_GetTicks();
      }
      break;
    case SDL_MOUSEMOTION:
      if (e.motion.windowID == id) m_certText.OnMouseMove(e.motion.x, e.motion.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT) m_certText.OnMouseUp();
      break;
    default: break;
  }
}

int CQuillanDlg::DoModal() {
  if (!Create()) {
    SDL_Log("Quillan: %s", SDL_GetError());
    return -1;
  }
  while (running_) {
    SDL_Event e;
    // Wake for the caret's blink even when nothing happens.
    if (SDL_WaitEventTimeout(&e, static_cast<int>(kCaretBlinkMs / 2))) {
      HandleEvent(e);
      while (running_ && SDL_PollEvent(&e)) HandleEvent(e);
    }
    if (running_) Paint();
  }
  SDL_HideWindow(window_);
  return result_;
}
