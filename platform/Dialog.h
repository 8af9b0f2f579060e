// Modal dialogs and the application object.
#pragma once
#include "Wnd.h"

class CDialog : public CWnd {
 public:
  // The template number only names the dialog; the window starts hidden, 640 x 480, centred
  // on the screen, and places itself in OnInitDialog. parent owns it: parent is disabled while
  // the dialog runs and is kept below it.
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Creates the window, calls OnInitDialog, then - unless EndDialog was called by then - shows
  // the window if it is still hidden and runs the modal loop until EndDialog. A modal run ends
  // as soon as the handler that called EndDialog returns to this loop; EndDialog called inside
  // OnInitDialog, or inside any pump running above the loop, skips or ends the loop once
  // control comes back here. At the end the virtual DestroyWindow is called. The loop's dialog
  // manager turns Enter and Escape for this window into OnOK and OnCancel. Returns the value
  // given to the last EndDialog; -1 if the dialog is already running.
  virtual int DoModal();

  // Records the result, hides the window at once, enables and activates the owner. Unwinds
  // nothing: loops running above the modal loop go on until their own ends. May be called
  // again; the last value wins.
  void EndDialog(int result);

  UINT GetTemplateId() const { return templateId_; }

 protected:
  virtual BOOL OnInitDialog();  // base: TRUE
  virtual void OnOK();          // base: EndDialog(IDOK)
  virtual void OnCancel();      // base: EndDialog(IDCANCEL)
  void OnClose() override;      // the system's close request: OnCancel
  BOOL PreTranslateMessage(MSG* msg) override;

 private:
  UINT templateId_;
  CWnd* parent_;
  bool running_ = false;
  bool continueModal_ = false;
  bool ownerDisabled_ = false;
  int result_ = -1;
};

// The application object: the program makes one global object of a class derived from it.
class CWinApp {
 public:
  explicit CWinApp(const char* appName = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Runs the program (normally its main dialog's DoModal); FALSE ends it without a loop of its
  // own, which is all the game does.
  virtual BOOL InitInstance();
  virtual int ExitInstance();  // exit code; base 0

  CWnd* m_pMainWnd = nullptr;
  const char* m_pszAppName;  // caption of message boxes; "" when not given
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The program's main calls this: InitInstance, ExitInstance, then the window system is shut
// down. Returns ExitInstance's value.
int AfxWinMain(int argc, char** argv);
