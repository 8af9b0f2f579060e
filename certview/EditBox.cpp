#include "EditBox.h"

#include "Big5.h"

namespace {

// The colours of a read-only edit control on the classic desktop.
constexpr SDL_Color kFace{212, 208, 200, 255};
constexpr SDL_Color kShadow{128, 128, 128, 255};
constexpr SDL_Color kDarkShadow{64, 64, 64, 255};
constexpr SDL_Color kHighlight{255, 255, 255, 255};
constexpr SDL_Color kSelection{10, 36, 106, 255};
constexpr SDL_Color kText{0, 0, 0, 255};

void Fill(SDL_Surface* s, int x, int y, int w, int h, SDL_Color c) {
  SDL_Rect r{x, y, w, h};
  SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

}  // namespace

CEditBox::~CEditBox() {
  for (auto& [c, g] : glyphs_) SDL_FreeSurface(g.white);
}

void CEditBox::Create(SDL_Rect rect, TTF_Font* font) {
  rect_ = rect;
  font_ = font;
  for (auto& [c, g] : glyphs_) SDL_FreeSurface(g.white);
  glyphs_.clear();
  Layout();
}

void CEditBox::SetWindowText(const std::string& big5) {
  big5_ = big5;
  chars_ = Big5ToUcs(big5);
  // Each shown character stands for one Big5 character (or one undecodable byte).
  offsets_.assign(1, 0);
  for (size_t i = 0; i < big5_.size();) offsets_.push_back(i += Big5CharSize(big5_, i));
  anchor_ = caret_ = 0;
  scroll_ = 0;
  Layout();
}

const CEditBox::Glyph& CEditBox::GlyphFor(char32_t c) const {
  auto it = glyphs_.find(c);
  if (it != glyphs_.end()) return it->second;
  Glyph g;
  if (font_) {
    // Control characters have no picture; show them as the blank they take in the control.
    Uint32 shown = c < 0x20 ? U' ' : static_cast<Uint32>(c);
    int minx, maxx, miny, maxy, advance = 0;
    if (TTF_GlyphMetrics32(font_, shown, &minx, &maxx, &miny, &maxy, &advance) == 0)
      g.advance = advance;
    if (shown != U' ')
      g.white = TTF_RenderGlyph32_Blended(font_, shown, SDL_Color{255, 255, 255, 255});
  }
  return glyphs_.emplace(c, g).first->second;
}

void CEditBox::Layout() {
  xs_.assign(chars_.size() + 1, 0);
  int x = 0;
  for (size_t i = 0; i < chars_.size(); ++i) {
    xs_[i] = x;
    x += GlyphFor(chars_[i]).advance;
  }
  xs_[chars_.size()] = x;
}

SDL_Rect CEditBox::TextArea() const {
  // Two-pixel sunken edge and a one-pixel margin inside it.
  return SDL_Rect{rect_.x + 3, rect_.y + 2, std::max(0, rect_.w - 6), std::max(0, rect_.h - 4)};
}

bool CEditBox::Contains(int x, int y) const {
  SDL_Point p{x, y};
  return SDL_PointInRect(&p, &rect_);
}

void CEditBox::SetSel(int start, int end) {
  const int n = GetLength();
  if (end < 0 || end > n) end = n;
  start = std::clamp(start, 0, n);
  anchor_ = start;
  caret_ = end;
}

std::string CEditBox::SelectedUtf8() const {
  const size_t from = offsets_[static_cast<size_t>(SelStart())],
               to = offsets_[static_cast<size_t>(SelEnd())];
  return Big5ToUtf8(std::string_view(big5_).substr(from, to - from));
}

void CEditBox::MoveCaret(int to, bool extend) {
  caret_ = std::clamp(to, 0, GetLength());
  if (!extend) anchor_ = caret_;
  EnsureCaretVisible();
}

void CEditBox::EnsureCaretVisible() {
  const int width = TextArea().w;
  const int x = xs_[static_cast<size_t>(caret_)];
  if (x < scroll_) scroll_ = x;
  if (x > scroll_ + width - 1) scroll_ = x - width + 1;
  scroll_ = std::max(0, scroll_);
}

int CEditBox::CharAt(int clientX) const {
  const int x = clientX - TextArea().x + scroll_;
  // The boundary nearest to the point.
  auto it = std::lower_bound(xs_.begin(), xs_.end(), x);
  if (it == xs_.end()) return GetLength();
  int i = static_cast<int>(it - xs_.begin());
  if (i > 0 && x - xs_[static_cast<size_t>(i - 1)] < *it - x) --i;
  return i;
}

bool CEditBox::OnKeyDown(const SDL_Keysym& key) {
  const bool shift = key.mod & KMOD_SHIFT;
  const bool ctrl = key.mod & KMOD_CTRL;
  switch (key.sym) {
    case SDLK_LEFT:
      MoveCaret(!shift && SelStart() != SelEnd() ? SelStart() : caret_ - 1, shift);
      return true;
    case SDLK_RIGHT:
      MoveCaret(!shift && SelStart() != SelEnd() ? SelEnd() : caret_ + 1, shift);
      return true;
    case SDLK_HOME: MoveCaret(0, shift); return true;
    case SDLK_END: MoveCaret(GetLength(), shift); return true;
    case SDLK_a:
      if (!ctrl) return false;
      SetSel(0, -1);
      return true;
    case SDLK_c:
    case SDLK_INSERT:
      if (!ctrl) return false;
      if (SelStart() != SelEnd()) SDL_SetClipboardText(SelectedUtf8().c_str());
      return true;
    default: return false;
  }
}

void CEditBox::OnMouseDown(int x, int, bool extend) {
  dragging_ = true;
  MoveCaret(CharAt(x), extend);
}

void CEditBox::OnMouseMove(int x, int) {
  if (dragging_) MoveCaret(CharAt(x), true);
}

void CEditBox::OnMouseUp() { dragging_ = false; }

void CEditBox::Draw(SDL_Surface* target, bool caretOn) const {
  const SDL_Rect& r = rect_;
  Fill(target, r.x, r.y, r.w, r.h, kFace);
  Fill(target, r.x, r.y, r.w, 1, kShadow);
  Fill(target, r.x, r.y, 1, r.h, kShadow);
  Fill(target, r.x + 1, r.y + 1, r.w - 2, 1, kDarkShadow);
  Fill(target, r.x + 1, r.y + 1, 1, r.h - 2, kDarkShadow);
  Fill(target, r.x, r.y + r.h - 1, r.w, 1, kHighlight);
  Fill(target, r.x + r.w - 1, r.y, 1, r.h, kHighlight);
  if (!font_) return;

  const SDL_Rect area = TextArea();
  SDL_Rect oldClip;
  SDL_GetClipRect(target, &oldClip);
  SDL_SetClipRect(target, &area);
  const int height = TTF_FontHeight(font_);
  const int top = area.y + (area.h - height) / 2;
  const int selStart = SelStart(), selEnd = SelEnd();
  for (size_t i = 0; i < chars_.size(); ++i) {
    const int x = area.x + xs_[i] - scroll_;
    const Glyph& g = GlyphFor(chars_[i]);
    if (x + g.advance < area.x) continue;
    if (x >= area.x + area.w) break;
    const bool selected = static_cast<int>(i) >= selStart && static_cast<int>(i) < selEnd;
    if (selected) Fill(target, x, top, g.advance, height, kSelection);
    if (!g.white) continue;
    const SDL_Color c = selected ? kHighlight : kText;
    SDL_SetSurfaceColorMod(g.white, c.r, c.g, c.b);
    SDL_Rect dst{x, top, g.white->w, g.white->h};
    SDL_BlitSurface(g.white, nullptr, target, &dst);
  }
  if (caretOn && selStart == selEnd)
    Fill(target, area.x + xs_[static_cast<size_t>(caret_)] - scroll_, top, 1, height, kText);
  SDL_SetClipRect(target, &oldClip);
}
