#include "Forms.h"

#include <algorithm>

#include "Big5.h"
#include "FaceFile.h"

namespace {

constexpr SDL_Color kFace{212, 208, 200, 255};
constexpr SDL_Color kLight{255, 255, 255, 255};
constexpr SDL_Color kShadow{128, 128, 128, 255};
constexpr SDL_Color kDark{64, 64, 64, 255};
constexpr SDL_Color kBlack{0, 0, 0, 255};

void Fill(SDL_Surface* s, int x, int y, int w, int h, SDL_Color c) {
  SDL_Rect r{x, y, w, h};
  SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
}

// Text rendered in `font`, or null when there is none to draw.
SDL_Surface* RenderText(TTF_Font* font, const std::string& big5, SDL_Color colour) {
  if (!font || big5.empty()) return nullptr;
  return TTF_RenderUTF8_Blended(font, Big5ToUtf8(big5).c_str(), colour);
}

}  // namespace

// ---- Control, Label, Button ----

void Control::SetVisible(bool v) {
  if (visible == v) return;
  visible = v;
  Invalidate();
}

void Control::Invalidate() {
  if (owner) owner->Invalidate();
}

void Label::SetCaption(const std::string& big5) {
  if (caption_ == big5) return;
  caption_ = big5;
  if (autoSize && owner) {
    int w = 0, h = 0;
    if (TTF_Font* f = owner->App().Font(font); f && !caption_.empty())
      TTF_SizeUTF8(f, Big5ToUtf8(caption_).c_str(), &w, &h);
    width = w;
    height = h;
  }
  Invalidate();
}

void Label::Paint(SDL_Surface* canvas) {
  Fill(canvas, left, top, width, height, owner->Style().colour);
  SDL_Surface* text = RenderText(owner->App().Font(font), caption_, font.colour);
  if (!text) return;
  SDL_Rect clip = Bounds();
  SDL_SetClipRect(canvas, &clip);
  SDL_Rect dst{centred ? left + (width - text->w) / 2 : left, top, text->w, text->h};
  SDL_BlitSurface(text, nullptr, canvas, &dst);
  SDL_SetClipRect(canvas, nullptr);
  SDL_FreeSurface(text);
}

void Label::MouseUp(int, int, bool inside) {
  if (inside && onClick) onClick();
}

void Button::Paint(SDL_Surface* canvas) {
  const bool focused = owner->focus_ == this;
  const bool down = Pressed() || spaceDown_;
  int x = left, y = top, w = width, h = height;
  Fill(canvas, x, y, w, h, kFace);
  if (focused) {  // the focused button wears the dark frame of the default one
    Fill(canvas, x, y, w, 1, kBlack);
    Fill(canvas, x, y + h - 1, w, 1, kBlack);
    Fill(canvas, x, y, 1, h, kBlack);
    Fill(canvas, x + w - 1, y, 1, h, kBlack);
    ++x, ++y, w -= 2, h -= 2;
  }
  if (down) {
    Fill(canvas, x, y, w, 1, kShadow);
    Fill(canvas, x, y + h - 1, w, 1, kShadow);
    Fill(canvas, x, y, 1, h, kShadow);
    Fill(canvas, x + w - 1, y, 1, h, kShadow);
  } else {
    Fill(canvas, x, y, w, 1, kLight);
    Fill(canvas, x, y, 1, h, kLight);
    Fill(canvas, x, y + h - 1, w, 1, kDark);
    Fill(canvas, x + w - 1, y, 1, h, kDark);
    Fill(canvas, x + 1, y + h - 2, w - 2, 1, kShadow);
    Fill(canvas, x + w - 2, y + 1, 1, h - 2, kShadow);
  }
  const int shift = down ? 1 : 0;
  if (SDL_Surface* text = RenderText(owner->App().Font(font), caption, font.colour)) {
    SDL_Rect dst{left + (width - text->w) / 2 + shift, top + (height - text->h) / 2 + shift,
                 text->w, text->h};
    SDL_BlitSurface(text, nullptr, canvas, &dst);
    SDL_FreeSurface(text);
  }
  if (focused) {  // dotted focus rectangle inside the edges
    const int fx = left + 4, fy = top + 4, fw = width - 8, fh = height - 8;
    for (int i = 0; i < fw; i += 2) {
      Fill(canvas, fx + i, fy, 1, 1, kBlack);
      Fill(canvas, fx + i, fy + fh - 1, 1, 1, kBlack);
    }
    for (int i = 0; i < fh; i += 2) {
      Fill(canvas, fx, fy + i, 1, 1, kBlack);
      Fill(canvas, fx + fw - 1, fy + i, 1, 1, kBlack);
    }
  }
}

void Button::MouseDown(int, int) {
  pressed_ = hot_ = true;
  owner->focus_ = this;
  Invalidate();
}

void Button::MouseUp(int, int, bool inside) {
  const bool click = pressed_ && inside;
  pressed_ = hot_ = false;
  Invalidate();
  if (click && onClick) onClick();
}

bool Button::KeyDown(SDL_Keycode key) {
  if (key == SDLK_SPACE) {
    spaceDown_ = true;
    Invalidate();
    return true;
  }
  if (key == SDLK_RETURN || key == SDLK_KP_ENTER) {
    if (onClick) onClick();
    return true;
  }
  return false;
}

bool Button::KeyUp(SDL_Keycode key) {
  if (key != SDLK_SPACE || !spaceDown_) return false;
  spaceDown_ = false;
  Invalidate();
  if (onClick) onClick();
  return true;
}

// ---- Timer ----

void Timer::SetInterval(Uint32 ms) {
  if (interval_ == ms) return;  // setting the same interval leaves the running period alone
  interval_ = ms;
  Restart();
}

void Timer::SetEnabled(bool on) {
  if (enabled_ == on) return;
  enabled_ = on;
  Restart();
}

void Timer::Restart() {
  if (app) due_ = app->ticks() + interval_;
}

// ---- Form ----

Form::Form(Application& app, const FormStyle& style) : app_(app), style_(style) {
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (style.borderless) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
  if (style.stayOnTop) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
  window_ = SDL_CreateWindow(Big5ToUtf8(style.caption).c_str(), SDL_WINDOWPOS_CENTERED,
                             SDL_WINDOWPOS_CENTERED, style.clientWidth, style.clientHeight, flags);
  if (!window_) SDL_Log("call: cannot make a window: %s", SDL_GetError());
  canvas_ = SDL_CreateRGBSurfaceWithFormat(0, style.clientWidth, style.clientHeight, 32,
                                           SDL_PIXELFORMAT_ARGB8888);
}

Form::~Form() {
  if (canvas_) SDL_FreeSurface(canvas_);
  if (window_) SDL_DestroyWindow(window_);
}

bool Form::Active() const { return app_.ActiveForm() == this; }

Label* Form::AddLabel() {
  auto label = std::make_unique<Label>();
  label->owner = this;
  Label* raw = label.get();
  controls_.push_back(std::move(label));
  return raw;
}

Button* Form::AddButton() {
  auto button = std::make_unique<Button>();
  button->owner = this;
  Button* raw = button.get();
  controls_.push_back(std::move(button));
  if (!focus_) focus_ = raw;  // first in tab order
  return raw;
}

Timer* Form::AddTimer() {
  auto timer = std::make_unique<Timer>();
  timer->app = &app_;
  timer->Restart();
  Timer* raw = timer.get();
  timers_.push_back(std::move(timer));
  return raw;
}

void Form::Show() {
  if (window_) {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
  }
  visible_ = true;
  dirty_ = true;
  app_.Activate(this);
}

void Form::Hide() {
  if (!visible_) return;
  if (window_) SDL_HideWindow(window_);
  visible_ = false;
  app_.FormHidden(this);
}

void Form::Paint() {
  dirty_ = false;
  if (!canvas_) return;
  SDL_FillRect(canvas_, nullptr,
               SDL_MapRGB(canvas_->format, style_.colour.r, style_.colour.g, style_.colour.b));
  // Graphic controls first; windowed ones lie above them.
  for (int pass = 0; pass < 2; ++pass)
    for (auto& c : controls_)
      if (c->visible && c->Windowed() == (pass == 1)) c->Paint(canvas_);
  if (visible_ && window_) {
    if (SDL_Surface* screen = SDL_GetWindowSurface(window_)) {
      SDL_BlitSurface(canvas_, nullptr, screen, nullptr);
      SDL_UpdateWindowSurface(window_);
    }
  }
}

Control* Form::ControlAt(int x, int y) const {
  SDL_Point p{x, y};
  for (int pass = 1; pass >= 0; --pass)
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
      const Control* c = it->get();
      SDL_Rect r = c->Bounds();
      if (c->visible && c->Windowed() == (pass == 1) && SDL_PointInRect(&p, &r)) return it->get();
    }
  return nullptr;
}

void Form::MouseDown(int x, int y) {
  captured_ = ControlAt(x, y);
  if (captured_) captured_->MouseDown(x, y);
}

void Form::MouseMove(int x, int y) {
  if (auto* b = dynamic_cast<Button*>(captured_); b && b->pressed_) {
    SDL_Point p{x, y};
    SDL_Rect r = b->Bounds();
    const bool hot = SDL_PointInRect(&p, &r);
    if (hot != b->hot_) {
      b->hot_ = hot;
      Invalidate();
    }
  }
}

void Form::MouseUp(int x, int y) {
  Control* c = captured_;
  captured_ = nullptr;
  if (!c) return;
  SDL_Point p{x, y};
  SDL_Rect r = c->Bounds();
  c->MouseUp(x, y, SDL_PointInRect(&p, &r));
}

void Form::KeyDown(SDL_Keycode key) {
  if (focus_ && focus_->visible) focus_->KeyDown(key);
}

void Form::KeyUp(SDL_Keycode key) {
  if (focus_ && focus_->visible) focus_->KeyUp(key);
}

// ---- Application ----

Application::Application() {
  ticks = [] { return SDL_GetTicks(); };
  ttf_ = TTF_Init() == 0;
}

Application::~Application() {
  forms_.clear();
  for (auto& [key, font] : fonts_)
    if (font) TTF_CloseFont(font);
  if (ttf_) TTF_Quit();
}

TTF_Font* Application::Font(const FontSpec& spec) {
  if (!ttf_) return nullptr;
  auto key = std::make_tuple(static_cast<int>(spec.face), spec.height, spec.bold);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;

  // Kai carries the Chinese texts, the Latin faces the time.
  static const std::string kaiText = Big5ToUtf8("現在時刻:請更新機台狀況知道啦!");
  FaceWanted want{"Liberation Serif", "0123456789: AMPamp"};
  if (spec.face == FontFace::Kai)
    want = {"AR PL UKai TW", kaiText.c_str(), "zh-tw"};
  else if (spec.face == FontFace::Sans)
    want.family = "Liberation Sans";
  want.bold = spec.bold;
  TTF_Font* font = OpenSystemFace(want, spec.height);
  if (!font) SDL_Log("call: no font for a %d-pixel text", spec.height);
  fonts_[key] = font;
  return font;
}

void Application::Activate(Form* form) {
  if (form == active_) return;
  active_ = form;
  if (form && form->onActivate) form->onActivate();
}

void Application::FormHidden(Form* form) {
  if (active_ != form) return;
  active_ = nullptr;
  // Hiding the active window hands activation to the main window, as the window manager would.
  if (mainForm_ && mainForm_ != form && mainForm_->Visible()) {
    if (mainForm_->Window()) SDL_RaiseWindow(mainForm_->Window());
    Activate(mainForm_);
  }
}

Form* Application::FormOf(Uint32 windowId) const {
  for (auto& f : forms_)
    if (f->Window() && SDL_GetWindowID(f->Window()) == windowId) return f.get();
  return nullptr;
}

void Application::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_QUIT: Terminate(); break;
    case SDL_WINDOWEVENT: {
      Form* f = FormOf(e.window.windowID);
      if (!f) break;
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          if (f == mainForm_)
            Terminate();
          else
            f->Hide();
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          if (f->Visible()) Activate(f);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED: f->Invalidate(); break;
        default: break;
      }
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      if (e.button.button == SDL_BUTTON_LEFT)
        if (Form* f = FormOf(e.button.windowID)) f->MouseDown(e.button.x, e.button.y);
      break;
    case SDL_MOUSEBUTTONUP:
      if (e.button.button == SDL_BUTTON_LEFT)
        if (Form* f = FormOf(e.button.windowID)) f->MouseUp(e.button.x, e.button.y);
      break;
    case SDL_MOUSEMOTION:
      if (Form* f = FormOf(e.motion.windowID)) f->MouseMove(e.motion.x, e.motion.y);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      // Keys go to the active form (also when the system names no window, as headless runs do).
      Form* f = FormOf(e.key.windowID);
      if (!f) f = active_;
      if (!f || !f->Visible()) break;
      if (e.type == SDL_KEYDOWN)
        f->KeyDown(e.key.keysym.sym);
      else
        f->KeyUp(e.key.keysym.sym);
      break;
    }
    default: break;
  }
}

void Application::RunDueTimers() {
  for (auto& f : forms_)
    for (auto& t : f->timers_) {
      if (terminated_) return;
      const Uint32 now = ticks();
      if (!t->enabled_ || static_cast<Sint32>(now - t->due_) < 0) continue;
      t->due_ = now + t->interval_;
      if (t->onTimer) t->onTimer();
    }
}

void Application::PaintDirty() {
  for (auto& f : forms_)
    if (f->dirty_) f->Paint();
}

bool Application::Step(int waitMs) {
  if (terminated_) return false;
  const Uint32 now = ticks();
  for (auto& f : forms_)
    for (auto& t : f->timers_)
      if (t->enabled_)
        waitMs =
            std::min(waitMs, std::max(0, static_cast<int>(static_cast<Sint32>(t->due_ - now))));
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, std::max(0, waitMs))) {
    HandleEvent(e);
    while (!terminated_ && SDL_PollEvent(&e)) HandleEvent(e);
  }
  RunDueTimers();
  PaintDirty();
  return !terminated_;
}

void Application::Run() {
  if (mainForm_) mainForm_->Show();
  while (Step(1000)) {
  }
}
