// The standard dialogs of our own: message box, name entry and the file open/save dialog.
// Each is a small modal window drawn with the page font over whatever shows below it; the
// system cursor is shown while one is open (and put back as it was afterwards).
#pragma once
#include <string>
#include <vector>

#include "Dialog.h"
#include "WinString.h"

enum : UINT { MB_OK = 0x0000 };

// An OK-only message box over `owner` (nullptr: the active window). caption nullptr: the
// application's name. Enter, Escape, Space, the button and the close box all end it. IDOK.
int MessageBox(CWnd* owner, const char* big5Text, const char* caption = nullptr, UINT type = MB_OK);
// The same, owned by the main window, captioned with the application's name.
int AfxMessageBox(const char* big5Text, UINT type = MB_OK);

// A single-line edit field holding Big5 text: the caret and the selection step whole
// characters; typed characters arrive as WM_CHAR bytes (a double-byte character as lead, then
// trail). The text never grows past the limit.
class CEdit {
 public:
  static constexpr UINT kDefaultLimit = 255;

  void SetWindowText(const char* big5);  // selects nothing, caret at the end
  void GetWindowText(CString& out) const { out = CString(text_); }
  const std::string& Text() const { return text_; }
  void SetLimitText(UINT maxBytes);  // 0: the default limit
  UINT GetLimitText() const { return limit_; }
  // Byte positions, moved back to character starts; end -1 = the end of the text.
  void SetSel(int start, int end);
  void GetSel(int& start, int& end) const;

  // Input; true when the text, caret or selection changed.
  bool OnChar(UINT ch);
  bool OnKeyDown(UINT vk);
  bool Click(CPoint pt);  // in the co-ordinates of Rect()

  void SetRect(const CRect& rect) { rect_ = rect; }
  const CRect& Rect() const { return rect_; }
  void Draw(class CDC& dc, bool focused) const;

 private:
  void Insert(std::string_view bytes);
  void DeleteSelection();
  void KeepCaretVisible();
  size_t SelStart() const { return std::min(anchor_, caret_); }
  size_t SelEnd() const { return std::max(anchor_, caret_); }

  std::string text_;
  size_t caret_ = 0, anchor_ = 0;
  size_t scroll_ = 0;  // first byte shown
  UINT limit_ = kDefaultLimit;
  int pendingLead_ = -1;
  CRect rect_;
};

// Called as a standard dialog opens, with the window the display shows then (nullptr: none):
// whoever drew a cursor of its own into that window puts back what lies under it, since
// the system cursor takes over.
extern void (*StdDialogOpening)(CWnd* shown);

// Frame of the standard dialogs: a border, a caption bar with the title and a close box, and a
// client area of the given size below it. Placed centred over the owner (or the active window),
// above it; dragged by the caption.
class CStdDialog : public CDialog {
 public:
  CStdDialog(UINT templateId, CWnd* parent, const char* caption, CSize clientSize);
  int DoModal() override;

  static constexpr int kBorder = 2;
  static constexpr int kCaption = 20;
  // Window co-ordinates of a point or rectangle given relative to the client area below the
  // caption.
  static constexpr CPoint Origin() { return {kBorder, kBorder + kCaption}; }
  static constexpr CRect At(int l, int t, int r, int b) {
    return {l + kBorder, t + kBorder + kCaption, r + kBorder, b + kBorder + kCaption};
  }

 protected:
  BOOL OnInitDialog() override;
  void OnPaint() override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnLButtonDblClk(UINT flags, CPoint point) override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnChar(UINT ch, UINT repeat, UINT flags) override;
  void OnKeyDown(UINT vk, UINT repeat, UINT flags) override;
  BOOL OnEraseBkgnd(CDC* dc) override;

  // Everything inside the frame, in window co-ordinates.
  virtual void DrawClient(CDC& dc) = 0;
  virtual void ClientPress(CPoint pt, bool doubleClick) { (void)pt, (void)doubleClick; }
  virtual void ClientRelease(CPoint pt) { (void)pt; }
  virtual void ClientChar(UINT ch) { (void)ch; }
  virtual void ClientKey(UINT vk) { (void)vk; }
  void Redraw() { Invalidate(FALSE); }

  // A push button of the client area; pressed while the left button went down on it.
  struct Button {
    CRect rect;
    std::string text;
    bool pressed = false;
  };
  static void DrawButton(CDC& dc, const Button& b, bool isDefault);
  static void DrawSunken(CDC& dc, const CRect& r, COLORREF inside);

  CString caption_;
  CSize clientSize_;

 private:
  CRect CloseBox() const;
  bool closePressed_ = false;
};

// The name entry: one edit field and a default button, as the game's name dialog lays them out.
// Derive from it and use GetEdit() in OnInitDialog / OnOK. Enter and the button: OnOK; Escape
// and the close box: OnCancel.
class CInputDialog : public CStdDialog {
 public:
  CInputDialog(UINT templateId, CWnd* parent, const char* caption, const char* buttonText);
  CEdit& GetEdit() { return edit_; }

 protected:
  BOOL OnInitDialog() override;  // the edit takes the focus with all its text selected
  void DrawClient(CDC& dc) override;
  void ClientPress(CPoint pt, bool doubleClick) override;
  void ClientRelease(CPoint pt) override;
  void ClientChar(UINT ch) override;
  void ClientKey(UINT vk) override;

 private:
  void ApplyInitialSelection();
  CEdit edit_;
  Button ok_;
  bool selectAllPending_ = false;
};

enum : DWORD { OFN_HIDEREADONLY = 0x0004, OFN_NOCHANGEDIR = 0x0008 };

// The file open/save dialog: the current directory's sub-directories and the files that match
// the filter without regard to case, and a name field. Never changes the current directory; a
// path into another directory is returned relative to the current one (or absolute). There is
// no overwrite prompt. Typed names are Big5 and become UTF-8 file names.
class CFileDialog : public CStdDialog {
 public:
  // filter: "description|pattern[;pattern]|...|" as the game writes it, e.g. "紀錄檔
  // (*.SAV)|*.SAV||".
  CFileDialog(BOOL openFileDialog, const char* defExt = nullptr, const char* fileName = nullptr,
              DWORD flags = OFN_HIDEREADONLY, const char* filter = nullptr, CWnd* parent = nullptr);

  CString GetPathName() const { return CString(path_); }  // valid after IDOK

  struct Entry {
    std::string name;     // as on disk
    std::string display;  // Big5
    bool directory = false;
  };
  // What the list shows now (for tests and the drawing).
  const std::vector<Entry>& Entries() const { return entries_; }
  const std::string& Directory() const { return dir_; }  // "" = the current directory
  const std::string& FilterDescription() const { return description_; }
  const std::vector<std::string>& FilterPatterns() const { return patterns_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void DrawClient(CDC& dc) override;
  void ClientPress(CPoint pt, bool doubleClick) override;
  void ClientRelease(CPoint pt) override;
  void ClientChar(UINT ch) override;
  void ClientKey(UINT vk) override;

 private:
  void Refresh();
  void Select(int index);
  void Activate(int index);  // a directory opens, a file is chosen
  void Enter(const std::string& dirName);
  int RowAt(CPoint pt) const;

  bool open_;
  std::string defaultName_;
  std::string description_;
  std::vector<std::string> patterns_;
  std::string dir_;
  std::vector<Entry> entries_;
  int selected_ = -1;
  int top_ = 0;
  std::string path_;
  CEdit name_;
  Button ok_, cancel_, up_, down_;
};

// The game's file chooser for game records: an open or save CFileDialog over the active window.
// Fits EngineHost::ChooseFile.
bool ChooseGameFile(bool forOpen, const char* filter, std::string& path);
