// A single-line, read-only edit box that scrolls horizontally: the viewer's only control.
// Text is held as Big5, as the control would hold it, and drawn through the Unicode it stands for.
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

class CEditBox {
 public:
  CEditBox() = default;
  ~CEditBox();
  CEditBox(const CEditBox&) = delete;
  CEditBox& operator=(const CEditBox&) = delete;

  // Outer rectangle in client pixels, border included. The font stays owned by the caller; a null
  // font draws the box without text.
  void Create(SDL_Rect rect, TTF_Font* font);

  void SetWindowText(const std::string& big5);
  const std::string& GetWindowText() const { return big5_; }
  // Characters (not bytes) of the shown text.
  int GetLength() const { return static_cast<int>(chars_.size()); }

  // Selection in characters; end -1 means the end of the text. The caret goes to `end`; the view
  // does not move, so a text selected whole is still seen from its start.
  void SetSel(int start, int end);
  int SelStart() const { return std::min(anchor_, caret_); }
  int SelEnd() const { return std::max(anchor_, caret_); }
  int Caret() const { return caret_; }
  // The selected text as UTF-8, for the clipboard.
  std::string SelectedUtf8() const;

  // Keys that move the caret or copy; false for keys the box does not use.
  bool OnKeyDown(const SDL_Keysym& key);
  void OnMouseDown(int x, int y, bool extend);
  void OnMouseMove(int x, int y);
  void OnMouseUp();
  bool Contains(int x, int y) const;

  // Pixels the text is scrolled left by, so that the caret stays in view.
  int ScrollX() const { return scroll_; }
  // Width of the whole text in pixels.
  int TextWidth() const { return xs_.empty() ? 0 : xs_.back(); }

  void Draw(SDL_Surface* target, bool caretOn) const;

 private:
  struct Glyph {
    SDL_Surface* white = nullptr;  // rendered in white, tinted when drawn
    int advance = 0;
  };
  const Glyph& GlyphFor(char32_t c) const;
  void Layout();
  void MoveCaret(int to, bool extend);
  void EnsureCaretVisible();
  int CharAt(int clientX) const;
  SDL_Rect TextArea() const;

  SDL_Rect rect_{};
  TTF_Font* font_ = nullptr;
  std::string big5_;
  std::u32string chars_;
  std::vector<size_t> offsets_{0};  // byte offset in big5_ of each character, and the end
  std::vector<int> xs_;             // pen position before each character, and the total at the end
  int anchor_ = 0, caret_ = 0;
  int scroll_ = 0;
  bool dragging_ = false;
  mutable std::unordered_map<char32_t, Glyph> glyphs_;
};
