#include "StdDialogs.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "Big5.h"
#include "BitFont.h"
#include "Dc.h"
#include "WinFile.h"
#include "WindowSystem.h"

namespace {

constexpr COLORREF kFace = RGB(192, 192, 192);
constexpr COLORREF kShadow = RGB(128, 128, 128);
constexpr COLORREF kLight = RGB(255, 255, 255);
constexpr COLORREF kDark = RGB(0, 0, 0);
constexpr COLORREF kCaptionBar = RGB(0, 0, 128);
constexpr COLORREF kHighlight = RGB(0, 0, 128);
constexpr int kRowHeight = 18;
constexpr int kListRows = 10;

void Text(CDC& dc, int x, int y, std::string_view s, COLORREF colour) {
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(colour);
  dc.TextOut(x, y, std::string(s).c_str());
}

// Text clipped to a rectangle, from its left edge (or centred).
void TextIn(CDC& dc, CRect r, std::string_view s, COLORREF colour, UINT format = DT_LEFT) {
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(colour);
  dc.DrawText(std::string(s).c_str(), -1, &r, format);
}

void Frame(CDC& dc, const CRect& r, COLORREF topLeft, COLORREF bottomRight) {
  dc.FillSolidRect(CRect(r.left, r.top, r.right, r.top + 1), topLeft);
  dc.FillSolidRect(CRect(r.left, r.top, r.left + 1, r.bottom), topLeft);
  dc.FillSolidRect(CRect(r.left, r.bottom - 1, r.right, r.bottom), bottomRight);
  dc.FillSolidRect(CRect(r.right - 1, r.top, r.right, r.bottom), bottomRight);
}

CRect Deflate(CRect r, int d) { return {r.left + d, r.top + d, r.right - d, r.bottom - d}; }

bool IsDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.empty() ? "." : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    uint8_t c = static_cast<uint8_t>(s[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (size_t k = 1; k < n; ++k)
      if ((static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

// Linux file names are UTF-8; the dialogs show and take Big5.
std::string NameToBig5(const std::string& name) { return IsUtf8(name) ? Utf8ToBig5(name) : name; }

// Splits Big5 text at a single-byte separator, never at a trail byte.
std::vector<std::string> SplitBig5(std::string_view s, char sep) {
  std::vector<std::string> parts(1);
  for (size_t i = 0; i < s.size();) {
    size_t n = Big5CharSize(s, i);
    if (n == 1 && s[i] == sep)
      parts.emplace_back();
    else
      parts.back().append(s.substr(i, n));
    i += n;
  }
  return parts;
}

// Shows the system cursor for as long as it lives, then puts the counter back.
class CursorShown {
 public:
  CursorShown() {
    do ++added_;
    while (ShowCursor(TRUE) < 0);
  }
  ~CursorShown() {
    while (added_-- > 0) ShowCursor(FALSE);
  }

 private:
  int added_ = 0;
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// CEdit

void CEdit::SetWindowText(const char* big5) {
  std::string_view s = big5 ? big5 : "";
  text_.assign(s.substr(0, Big5FitLength(s, limit_)));
  caret_ = anchor_ = text_.size();
  pendingLead_ = -1;
  scroll_ = 0;
  KeepCaretVisible();
}

void CEdit::SetLimitText(UINT maxBytes) {
  limit_ = maxBytes ? maxBytes : kDefaultLimit;
  if (text_.size() > limit_) SetWindowText(std::string(text_).c_str());
}

void CEdit::SetSel(int start, int end) {
  auto snap = [&](int pos) {
    size_t p = pos < 0 ? text_.size() : std::min<size_t>(static_cast<size_t>(pos), text_.size());
    return Big5FitLength(text_, p);  // back to the start of the character holding p
  };
  anchor_ = snap(start);
  caret_ = snap(end);
  KeepCaretVisible();
}

void CEdit::GetSel(int& start, int& end) const {
  start = static_cast<int>(SelStart());
  end = static_cast<int>(SelEnd());
}

void CEdit::DeleteSelection() {
  text_.erase(SelStart(), SelEnd() - SelStart());
  caret_ = anchor_ = SelStart();
}

void CEdit::Insert(std::string_view bytes) {
  if (text_.size() - (SelEnd() - SelStart()) + bytes.size() > limit_)
    return;  // full: nothing changes
  DeleteSelection();
  text_.insert(caret_, bytes);
  caret_ = anchor_ = caret_ + bytes.size();
}

bool CEdit::OnChar(UINT ch) {
  std::string before = text_;
  size_t caret = caret_, anchor = anchor_;
  if (pendingLead_ >= 0) {
    int lead = pendingLead_;
    pendingLead_ = -1;
    if (ch <= 0xFF && IsBig5Trail(static_cast<uint8_t>(ch))) {
      char pair[2] = {static_cast<char>(lead), static_cast<char>(ch)};
      Insert(std::string_view(pair, 2));
      KeepCaretVisible();
      return text_ != before || caret_ != caret;
    }
    // A lead byte without its trail is dropped; the byte after it counts on its own.
  }
  if (ch == 8) {
    if (SelStart() == SelEnd() && caret_ > 0) anchor_ = Big5PrevChar(text_, caret_);
    DeleteSelection();
  } else if (ch <= 0xFF && IsBig5Lead(static_cast<uint8_t>(ch))) {
    pendingLead_ = static_cast<int>(ch);
  } else if (ch >= 0x20 && ch < 0x7F) {
    char c = static_cast<char>(ch);
    Insert(std::string_view(&c, 1));
  }
  KeepCaretVisible();
  return text_ != before || caret_ != caret || anchor_ != anchor;
}

bool CEdit::OnKeyDown(UINT vk) {
  size_t caret = caret_, anchor = anchor_;
  std::string before = text_;
  bool selection = SelStart() != SelEnd();
  switch (vk) {
    case VK_LEFT:
      caret_ = selection ? SelStart() : Big5PrevChar(text_, caret_);
      anchor_ = caret_;
      break;
    case VK_RIGHT:
      caret_ = selection ? SelEnd() : caret_ + Big5CharSize(text_, caret_);
      anchor_ = caret_;
      break;
    case VK_HOME: caret_ = anchor_ = 0; break;
    case VK_END: caret_ = anchor_ = text_.size(); break;
    case VK_DELETE:
      if (!selection) anchor_ = caret_ + Big5CharSize(text_, caret_);
      DeleteSelection();
      break;
    default: return false;
  }
  pendingLead_ = -1;
  KeepCaretVisible();
  return caret_ != caret || anchor_ != anchor || text_ != before;
}

bool CEdit::Click(CPoint pt) {
  if (!rect_.PtInRect(pt)) return false;
  int x = rect_.left + 3;
  size_t pos = scroll_;
  while (pos < text_.size()) {
    int w = 8 * static_cast<int>(Big5CharSize(text_, pos));
    if (pt.x < x + w / 2) break;
    x += w;
    pos += Big5CharSize(text_, pos);
  }
  caret_ = anchor_ = pos;
  pendingLead_ = -1;
  KeepCaretVisible();
  return true;
}

void CEdit::KeepCaretVisible() {
  size_t visible = static_cast<size_t>(std::max(1, (rect_.Width() - 6) / 8));
  if (text_.size() <= visible) scroll_ = 0;
  if (caret_ < scroll_) scroll_ = caret_;
  while (caret_ - scroll_ > visible && scroll_ < caret_) scroll_ += Big5CharSize(text_, scroll_);
}

void CEdit::Draw(CDC& dc, bool focused) const {
  dc.FillSolidRect(rect_, kLight);
  Frame(dc, rect_, kShadow, kLight);
  Frame(dc, Deflate(rect_, 1), kDark, kFace);
  CRect inner(rect_.left + 3, rect_.top + 2, rect_.right - 3, rect_.bottom - 2);
  int y = rect_.top + (rect_.Height() - BitFont::kHeight) / 2;
  size_t selStart = focused ? std::max(SelStart(), scroll_) : scroll_;
  size_t selEnd = focused ? std::max(SelEnd(), scroll_) : scroll_;
  auto xOf = [&](size_t pos) { return inner.left + 8 * static_cast<int>(pos - scroll_); };
  auto segment = [&](size_t from, size_t to, COLORREF colour) {
    if (to <= from) return;
    CRect r(xOf(from), y, inner.right, y + BitFont::kHeight);
    r.IntersectRect(r, inner);
    TextIn(dc, r, std::string_view(text_).substr(from, to - from), colour);
  };
  segment(scroll_, selStart, kDark);
  if (selEnd > selStart) {
    CRect band(xOf(selStart), y, xOf(selEnd), y + BitFont::kHeight);
    if (band.IntersectRect(band, inner)) dc.FillSolidRect(band, kHighlight);
    segment(selStart, selEnd, kLight);
  }
  segment(selEnd, text_.size(), kDark);
  if (focused && caret_ >= scroll_) {
    CRect bar(xOf(caret_), y, xOf(caret_) + 1, y + BitFont::kHeight);
    if (bar.IntersectRect(bar, inner)) dc.FillSolidRect(bar, kDark);
  }
}

// ---------------------------------------------------------------------------------------------
// CStdDialog

CStdDialog::CStdDialog(UINT templateId, CWnd* parent, const char* caption, CSize clientSize)
    : CDialog(templateId, parent), caption_(caption), clientSize_(clientSize) {}

void (*StdDialogOpening)(CWnd* shown) = nullptr;

int CStdDialog::DoModal() {
  if (StdDialogOpening) StdDialogOpening(CurrentFrame().top);
  CursorShown cursor;
  closePressed_ = false;
  return CDialog::DoModal();
}

BOOL CStdDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  int w = clientSize_.cx + 2 * kBorder, h = clientSize_.cy + 2 * kBorder + kCaption;
  CRect screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  CRect over = screen;
  for (CWnd* w2 : {GetParent(), CWnd::GetActiveWindow()}) {
    CRect r;
    if (w2 && w2 != this && w2->GetSafeHwnd() && w2->IsWindowVisible() && !w2->IsIconic()) {
      w2->GetWindowRect(&r);
      if (!r.IsRectEmpty()) {
        over = r;
        break;
      }
    }
  }
  int x = over.left + (over.Width() - w) / 2, y = over.top + (over.Height() - h) / 2;
  x = std::max(screen.left, std::min(x, screen.right - w));
  y = std::max(screen.top, std::min(y, screen.bottom - h));
  SetWindowText(caption_);
  SetWindowPos(&wndTop, x, y, w, h, SWP_SHOWWINDOW);
  SetActiveWindow();
  SetFocus();
  Redraw();
  return TRUE;
}

CRect CStdDialog::CloseBox() const {
  int right = clientSize_.cx + kBorder;
  return {right - 18, kBorder + 2, right - 2, kBorder + kCaption - 2};
}

void CStdDialog::DrawButton(CDC& dc, const Button& b, bool isDefault) {
  CRect r = b.rect;
  dc.FillSolidRect(r, kFace);
  if (isDefault) {
    Frame(dc, r, kDark, kDark);
    r = Deflate(r, 1);
  }
  if (b.pressed) {
    Frame(dc, r, kShadow, kShadow);
  } else {
    Frame(dc, r, kLight, kDark);
    Frame(dc, Deflate(r, 1), kFace, kShadow);
  }
  int shift = b.pressed ? 1 : 0;
  CRect t(r.left + shift, r.top + (r.Height() - BitFont::kHeight) / 2 + shift, r.right + shift,
          r.bottom);
  TextIn(dc, t, b.text, kDark, DT_CENTER);
}

void CStdDialog::DrawSunken(CDC& dc, const CRect& r, COLORREF inside) {
  dc.FillSolidRect(r, inside);
  Frame(dc, r, kShadow, kLight);
  Frame(dc, Deflate(r, 1), kDark, kFace);
}

void CStdDialog::OnPaint() {
  CPaintDC dc(this);
  CRect all(0, 0, clientSize_.cx + 2 * kBorder, clientSize_.cy + 2 * kBorder + kCaption);
  dc.FillSolidRect(all, kFace);
  Frame(dc, all, kFace, kDark);
  Frame(dc, Deflate(all, 1), kLight, kShadow);
  CRect bar(kBorder, kBorder, all.right - kBorder, kBorder + kCaption);
  dc.FillSolidRect(bar, kCaptionBar);
  TextIn(dc, CRect(bar.left + 4, bar.top + 2, CloseBox().left - 2, bar.bottom), caption_.str(),
         kLight);
  Button close{CloseBox(), "x", closePressed_};
  DrawButton(dc, close, false);
  DrawClient(dc);
}

BOOL CStdDialog::OnEraseBkgnd(CDC*) { return TRUE; }

void CStdDialog::OnLButtonDown(UINT, CPoint point) {
  if (CloseBox().PtInRect(point)) {
    closePressed_ = true;
    Redraw();
  } else if (point.y < kBorder + kCaption) {
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
  } else {
    ClientPress(point, false);
  }
}

void CStdDialog::OnLButtonDblClk(UINT, CPoint point) {
  if (point.y >= kBorder + kCaption) ClientPress(point, true);
}

void CStdDialog::OnLButtonUp(UINT, CPoint point) {
  if (closePressed_) {
    closePressed_ = false;
    Redraw();
    if (CloseBox().PtInRect(point)) OnCancel();
    return;
  }
  ClientRelease(point);
}

void CStdDialog::OnMouseMove(UINT, CPoint) {}
void CStdDialog::OnChar(UINT ch, UINT, UINT) { ClientChar(ch); }
void CStdDialog::OnKeyDown(UINT vk, UINT, UINT) { ClientKey(vk); }

// ---------------------------------------------------------------------------------------------
// Message box

namespace {

class MessageBoxDialog : public CStdDialog {
 public:
  MessageBoxDialog(CWnd* owner, const char* text, const char* caption)
      : CStdDialog(0, owner, caption, CSize()), lines_(SplitBig5(text ? text : "", '\n')) {
    int width = std::max(BitFont::Width(caption_.str()) + 40, 160);
    for (std::string& line : lines_) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      width = std::max(width, BitFont::Width(line) + 48);
    }
    int textHeight = BitFont::kHeight * static_cast<int>(lines_.size());
    clientSize_ = CSize(width, textHeight + 64);
    ok_.rect = At((width - 80) / 2, textHeight + 28, (width + 80) / 2, textHeight + 54);
    ok_.text = "確定";
  }

 protected:
  void DrawClient(CDC& dc) override {
    for (size_t i = 0; i < lines_.size(); ++i)
      Text(dc, Origin().x + 24, Origin().y + 14 + BitFont::kHeight * static_cast<int>(i), lines_[i],
           kDark);
    DrawButton(dc, ok_, true);
  }
  void ClientPress(CPoint pt, bool) override {
    ok_.pressed = ok_.rect.PtInRect(pt);
    Redraw();
  }
  void ClientRelease(CPoint pt) override {
    bool hit = ok_.pressed && ok_.rect.PtInRect(pt);
    ok_.pressed = false;
    Redraw();
    if (hit) OnOK();
  }
  void ClientChar(UINT ch) override {
    if (ch == ' ') OnOK();
  }

 private:
  std::vector<std::string> lines_;
  Button ok_;
};

const char* AppName() {
  CWinApp* app = AfxGetApp();
  return app && app->m_pszAppName ? app->m_pszAppName : "";
}

}  // namespace

int MessageBox(CWnd* owner, const char* big5Text, const char* caption, UINT) {
  MessageBoxDialog box(owner, big5Text, caption ? caption : AppName());
  box.DoModal();
  return IDOK;
}

int AfxMessageBox(const char* big5Text, UINT type) {
  return MessageBox(AfxGetMainWnd(), big5Text, AppName(), type);
}

// ---------------------------------------------------------------------------------------------
// Name entry

CInputDialog::CInputDialog(UINT templateId, CWnd* parent, const char* caption,
                           const char* buttonText)
    : CStdDialog(templateId, parent, caption, CSize(230, 28)) {
  edit_.SetRect(At(0, 0, 130, 28));
  ok_.rect = At(130, 0, 230, 28);
  ok_.text = buttonText ? buttonText : "";
}

BOOL CInputDialog::OnInitDialog() {
  CStdDialog::OnInitDialog();
  // As the dialog manager does when it gives the edit the focus: all of its text selected.
  // Derived dialogs set the text after this, so the selection is made when input begins.
  selectAllPending_ = true;
  return TRUE;
}

void CInputDialog::ApplyInitialSelection() {
  if (!selectAllPending_) return;
  selectAllPending_ = false;
  edit_.SetSel(0, -1);
}

void CInputDialog::DrawClient(CDC& dc) {
  ApplyInitialSelection();
  edit_.Draw(dc, true);
  DrawButton(dc, ok_, true);
}

void CInputDialog::ClientPress(CPoint pt, bool) {
  ApplyInitialSelection();
  edit_.Click(pt);
  ok_.pressed = ok_.rect.PtInRect(pt);
  Redraw();
}

void CInputDialog::ClientRelease(CPoint pt) {
  bool hit = ok_.pressed && ok_.rect.PtInRect(pt);
  ok_.pressed = false;
  Redraw();
  if (hit) OnOK();
}

void CInputDialog::ClientChar(UINT ch) {
  ApplyInitialSelection();
  if (edit_.OnChar(ch)) Redraw();
}

void CInputDialog::ClientKey(UINT vk) {
  ApplyInitialSelection();
  if (edit_.OnKeyDown(vk)) Redraw();
}

// ---------------------------------------------------------------------------------------------
// File dialog

namespace {
const CRect kList = CStdDialog::At(8, 26, 372, 26 + kListRows * kRowHeight + 4);
}  // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, const char*, const char* fileName, DWORD,
                         const char* filter, CWnd* parent)
    : CStdDialog(0, parent, openFileDialog ? "開啟" : "另存新檔", CSize(400, 272)),
      open_(openFileDialog),
      defaultName_(fileName ? fileName : "") {
  std::vector<std::string> parts = SplitBig5(filter ? filter : "", '|');
  description_ = parts[0];
  if (parts.size() > 1)
    for (std::string& p : SplitBig5(parts[1], ';'))
      if (!p.empty()) patterns_.push_back(p);
  if (patterns_.empty()) patterns_.push_back("*");
  name_.SetRect(At(88, 216, 304, 240));
  ok_ = {At(312, 216, 392, 240), open_ ? "開啟" : "儲存"};
  cancel_ = {At(312, 244, 392, 268), "取消"};
  up_ = {At(372, 26, 392, 46), "▲"};
  down_ = {At(372, kList.bottom - Origin().y - 20, 392, kList.bottom - Origin().y), "▼"};
}

BOOL CFileDialog::OnInitDialog() {
  CStdDialog::OnInitDialog();
  dir_.clear();
  path_.clear();
  name_.SetWindowText(defaultName_.c_str());
  Refresh();
  return TRUE;
}

void CFileDialog::Refresh() {
  entries_.clear();
  selected_ = -1;
  top_ = 0;
  entries_.push_back({"..", "[..]", true});
  std::vector<Entry> dirs, files;
  if (DIR* d = ::opendir(dir_.empty() ? "." : dir_.c_str())) {
    while (dirent* e = ::readdir(d)) {
      std::string name = e->d_name;
      if (name.empty() || name[0] == '.') continue;
      if (IsDirectory(dir_ + name)) {
        dirs.push_back({name, "[" + NameToBig5(name) + "]", true});
      } else if (std::any_of(patterns_.begin(), patterns_.end(), [&](const std::string& p) {
                   return ::fnmatch(p.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
                 })) {
        files.push_back({name, NameToBig5(name), false});
      }
    }
    ::closedir(d);
  }
  auto byName = [](const Entry& a, const Entry& b) {
    std::string la = Big5ToLower(NameToBig5(a.name)), lb = Big5ToLower(NameToBig5(b.name));
    return la != lb ? la < lb : a.name < b.name;
  };
  std::sort(dirs.begin(), dirs.end(), byName);
  std::sort(files.begin(), files.end(), byName);
  entries_.insert(entries_.end(), dirs.begin(), dirs.end());
  entries_.insert(entries_.end(), files.begin(), files.end());
  Redraw();
}

void CFileDialog::Select(int index) {
  if (entries_.empty()) return;
  selected_ = std::clamp(index, 0, static_cast<int>(entries_.size()) - 1);
  if (selected_ < top_) top_ = selected_;
  if (selected_ >= top_ + kListRows) top_ = selected_ - kListRows + 1;
  if (!entries_[selected_].directory) name_.SetWindowText(entries_[selected_].display.c_str());
  Redraw();
}

void CFileDialog::Enter(const std::string& dirName) {
  if (dirName == "..") {
    // Up one level: drop the last component unless there is none to drop.
    std::string d = dir_;
    if (!d.empty() && d.back() == '/') d.pop_back();
    size_t slash = d.find_last_of('/');
    std::string last = slash == std::string::npos ? d : d.substr(slash + 1);
    if (d.empty() || last == "..")
      dir_ += "../";
    else if (slash == std::string::npos)
      dir_.clear();
    else
      dir_ = d.substr(0, slash + 1);
  } else {
    dir_ = dirName.front() == '/' ? dirName : dir_ + dirName;
    if (dir_.back() != '/') dir_ += '/';
  }
  name_.SetWindowText("");
  Refresh();
}

void CFileDialog::Activate(int index) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return;
  if (entries_[index].directory) {
    Enter(entries_[index].name);
  } else {
    Select(index);
    OnOK();
  }
}

void CFileDialog::OnOK() {
  const std::string& typed = name_.Text();
  if (typed.empty()) {
    if (selected_ >= 0 && entries_[selected_].directory) Enter(entries_[selected_].name);
    return;
  }
  std::string native;
  if (selected_ >= 0 && !entries_[selected_].directory && entries_[selected_].display == typed) {
    native = entries_[selected_].name;
  } else {
    native = Big5ToUtf8(typed);
    std::replace(native.begin(), native.end(), '\\', '/');
  }
  if (native == ".." || native == "../") {
    Enter("..");
    return;
  }
  // "A:\..." names a certificate drive wherever the dialog stands.
  const bool onDrive =
      native.size() >= 2 && native[1] == ':' && std::isalpha(static_cast<unsigned char>(native[0]));
  std::string full = native.front() == '/' || onDrive ? native : dir_ + native;
  std::string resolved = NativePath(full);  // a typed directory opens in any case
  if (resolved.empty()) {
    const char drive = static_cast<char>(std::toupper(static_cast<unsigned char>(native[0])));
    MessageBox(this, (std::string("磁碟機 ") + drive + ": 無法使用。").c_str());
    return;
  }
  if (onDrive) full = resolved;
  if (full.back() == '/' || IsDirectory(resolved)) {
    dir_ = resolved.back() == '/' ? resolved : resolved + '/';
    name_.SetWindowText("");
    Refresh();
    return;
  }
  path_ = full;
  CDialog::OnOK();
}

int CFileDialog::RowAt(CPoint pt) const {
  CRect rows(kList.left + 2, kList.top + 2, up_.rect.left, kList.bottom - 2);
  if (!rows.PtInRect(pt)) return -1;
  int row = top_ + (pt.y - rows.top) / kRowHeight;
  return row < static_cast<int>(entries_.size()) ? row : -1;
}

void CFileDialog::DrawClient(CDC& dc) {
  Text(dc, Origin().x + 8, Origin().y + 6, "搜尋位置:", kDark);
  TextIn(dc, At(88, 6, 392, 22), NameToBig5(dir_.empty() ? "./" : dir_), kDark);
  DrawSunken(dc, kList, kLight);
  for (int i = 0; i < kListRows && top_ + i < static_cast<int>(entries_.size()); ++i) {
    CRect row(kList.left + 2, kList.top + 2 + i * kRowHeight, up_.rect.left,
              kList.top + 2 + (i + 1) * kRowHeight);
    bool sel = top_ + i == selected_;
    if (sel) dc.FillSolidRect(row, kHighlight);
    TextIn(dc, CRect(row.left + 4, row.top + 1, row.right - 2, row.bottom),
           entries_[top_ + i].display, sel ? kLight : kDark);
  }
  dc.FillSolidRect(CRect(up_.rect.left, up_.rect.bottom, up_.rect.right, down_.rect.top), kFace);
  DrawButton(dc, up_, false);
  DrawButton(dc, down_, false);
  Text(dc, Origin().x + 8, name_.Rect().top + 4, "檔案名稱:", kDark);
  name_.Draw(dc, true);
  Text(dc, Origin().x + 8, cancel_.rect.top + 4, "存檔類型:", kDark);
  TextIn(dc,
         CRect(Origin().x + 88, cancel_.rect.top + 4, cancel_.rect.left - 4, cancel_.rect.bottom),
         description_, kDark);
  DrawButton(dc, ok_, true);
  DrawButton(dc, cancel_, false);
}

void CFileDialog::ClientPress(CPoint pt, bool doubleClick) {
  for (Button* b : {&ok_, &cancel_, &up_, &down_}) b->pressed = b->rect.PtInRect(pt);
  int maxTop = std::max(0, static_cast<int>(entries_.size()) - kListRows);
  if (up_.pressed) top_ = std::max(0, top_ - 1);
  if (down_.pressed) top_ = std::min(maxTop, top_ + 1);
  int row = RowAt(pt);
  if (row >= 0) {
    if (doubleClick)
      Activate(row);
    else
      Select(row);
  }
  name_.Click(pt);
  Redraw();
}

void CFileDialog::ClientRelease(CPoint pt) {
  bool okHit = ok_.pressed && ok_.rect.PtInRect(pt);
  bool cancelHit = cancel_.pressed && cancel_.rect.PtInRect(pt);
  for (Button* b : {&ok_, &cancel_, &up_, &down_}) b->pressed = false;
  Redraw();
  if (okHit)
    OnOK();
  else if (cancelHit)
    OnCancel();
}

void CFileDialog::ClientChar(UINT ch) {
  if (name_.OnChar(ch)) Redraw();
}

void CFileDialog::ClientKey(UINT vk) {
  if (vk == VK_UP)
    Select(selected_ < 0 ? 0 : selected_ - 1);
  else if (vk == VK_DOWN)
    Select(selected_ + 1);
  else if (name_.OnKeyDown(vk))
    Redraw();
}

bool ChooseGameFile(bool forOpen, const char* filter, std::string& path) {
  CFileDialog dialog(forOpen, nullptr, nullptr, OFN_HIDEREADONLY | OFN_NOCHANGEDIR, filter,
                     CWnd::GetActiveWindow());
  if (dialog.DoModal() != IDOK) return false;
  path = dialog.GetPathName().str();
  return true;
}
