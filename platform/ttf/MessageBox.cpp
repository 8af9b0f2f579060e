#include "MessageBox.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>

#include "Big5.h"
#include "FaceFile.h"

namespace {

constexpr SDL_Color kFace{212, 208, 200, 255};

void Fill(SDL_Surface* s, SDL_Rect r, SDL_Color c) {
  SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

void DrawButton(SDL_Surface* s, SDL_Rect r, bool pressed, TTF_Font* font, SDL_Surface* caption) {
  Fill(s, r, SDL_Color{0, 0, 0, 255});  // the default button's dark frame
  SDL_Rect in{r.x + 1, r.y + 1, r.w - 2, r.h - 2};
  Fill(s, in, pressed ? SDL_Color{128, 128, 128, 255} : SDL_Color{255, 255, 255, 255});
  SDL_Rect face{in.x + 1, in.y + 1, in.w - (pressed ? 1 : 2), in.h - (pressed ? 1 : 2)};
  if (!pressed) {
    Fill(s, SDL_Rect{in.x + 1, in.y + 1, in.w - 1, in.h - 1}, SDL_Color{128, 128, 128, 255});
  }
  Fill(s, face, kFace);
  if (font && caption) {
    SDL_Rect dst{r.x + (r.w - caption->w) / 2 + pressed, r.y + (r.h - caption->h) / 2 + pressed,
                 caption->w, caption->h};
    SDL_BlitSurface(caption, nullptr, s, &dst);
  }
}

}  // namespace

bool RunMessageBox(const std::string& text, const std::string& caption) {
  const std::string utf8 = Big5ToUtf8(text);
  const bool ttf = TTF_Init() == 0;
  TTF_Font* font = ttf ? OpenSystemFace({"Liberation Sans", (utf8 + "OK").c_str()}, 11) : nullptr;
  if (!font) {
    // Without a face this box would be blank; the system's own box needs none.
    if (ttf) TTF_Quit();
    return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, Big5ToUtf8(caption).c_str(),
                                    utf8.c_str(), nullptr) == 0;
  }
  SDL_Surface* textSurface = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{0, 0, 0, 255});
  SDL_Surface* okSurface = TTF_RenderUTF8_Blended(font, "OK", SDL_Color{0, 0, 0, 255});

  const int textW = textSurface ? textSurface->w : 0, textH = textSurface ? textSurface->h : 0;
  const SDL_Rect button0{0, 0, 75, 23};
  const int width = std::max({textW + 64, button0.w + 40, 160});
  const int height = 24 + textH + 20 + button0.h + 12;
  const SDL_Rect button{(width - button0.w) / 2, height - 12 - button0.h, button0.w, button0.h};

  SDL_Window* window =
      SDL_CreateWindow(Big5ToUtf8(caption).c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                       width, height, SDL_WINDOW_ALWAYS_ON_TOP | SDL_WINDOW_SKIP_TASKBAR);
  bool ok = window != nullptr;
  if (window) {
    const Uint32 id = SDL_GetWindowID(window);
    bool pressed = false, running = true;
    while (running) {
      if (SDL_Surface* s = SDL_GetWindowSurface(window)) {
        Fill(s, SDL_Rect{0, 0, width, height}, kFace);
        if (textSurface) {
          SDL_Rect dst{32, 24, textW, textH};
          SDL_BlitSurface(textSurface, nullptr, s, &dst);
        }
        DrawButton(s, button, pressed, font, okSurface);
        SDL_UpdateWindowSurface(window);
      }
      SDL_Event e;
      if (!SDL_WaitEvent(&e)) break;
      switch (e.type) {
        case SDL_QUIT:
          SDL_PushEvent(&e);  // the program is asked to end: answer the box and pass it on
          running = false;
          break;
        case SDL_WINDOWEVENT:
          if (e.window.windowID == id && e.window.event == SDL_WINDOWEVENT_CLOSE) running = false;
          break;
        case SDL_KEYDOWN:
          if (e.key.windowID != id && e.key.windowID != 0) break;
          if (e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER ||
              e.key.keysym.sym == SDLK_SPACE || e.key.keysym.sym == SDLK_ESCAPE)
            running = false;
          break;
        case SDL_MOUSEBUTTONDOWN: {
          SDL_Point p{e.button.x, e.button.y};
          if (e.button.windowID == id && e.button.button == SDL_BUTTON_LEFT &&
              SDL_PointInRect(&p, &button))
            pressed = true;
          break;
        }
        case SDL_MOUSEBUTTONUP: {
          SDL_Point p{e.button.x, e.button.y};
          if (pressed && e.button.windowID == id && SDL_PointInRect(&p, &button)) running = false;
          pressed = false;
          break;
        }
        default: break;
      }
    }
    SDL_DestroyWindow(window);
  }
  SDL_FreeSurface(textSurface);
  SDL_FreeSurface(okSurface);
  TTF_CloseFont(font);
  TTF_Quit();
  return ok;
}
