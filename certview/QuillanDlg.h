// The viewer's only window: the certificate text in a read-only box.
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <string>

#include "EditBox.h"

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

class CQuillanDlg {
 public:
  // exePath: the program's own file, whose name (not directory) says which file to read.
  explicit CQuillanDlg(std::string exePath);
  ~CQuillanDlg();
  CQuillanDlg(const CQuillanDlg&) = delete;
  CQuillanDlg& operator=(const CQuillanDlg&) = delete;

  // Creates the window, runs OnInitDialog, shows it and handles events until OK, cancel or close.
  int DoModal();

  // The parts of DoModal, for callers that feed events themselves.
  bool Create();
  void HandleEvent(const SDL_Event& e);
  bool Running() const { return running_; }
  void Paint();
  void EndDialog(int result);

  SDL_Window* Window() const { return window_; }
  SDL_Surface* Canvas() const { return canvas_; }
  const CEditBox& CertText() const { return m_certText; }

  // Shows an OK message box; tests replace it.
  std::function<void(const std::string& text, const std::string& caption)> messageBox;

 private:
  bool OnInitDialog();

  std::string exePath_;
  std::string appName_;
  SDL_Window* window_ = nullptr;
  SDL_Surface* canvas_ = nullptr;  // the client area, drawn here and copied to the window
  TTF_Font* font_ = nullptr;
  bool ttf_ = false;
  bool running_ = false;
  bool focused_ = true;
  int result_ = IDCANCEL;
  Uint32 caretPhaseStart_ = 0;
  CEditBox m_certText;
};
