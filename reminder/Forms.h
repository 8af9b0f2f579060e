// The little form toolkit the clock is written against: forms in windows of their own, text
// labels, a push button and window timers, all run from one SDL event loop.
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

class Application;
class Form;

enum class FontFace { Kai, Sans, Serif };

struct FontSpec {
  FontFace face = FontFace::Serif;
  int height = 12;  // character height in pixels
  bool bold = false;
  SDL_Color colour{0, 0, 0, 255};
};

class Control {
 public:
  virtual ~Control() = default;
  SDL_Rect Bounds() const { return SDL_Rect{left, top, width, height}; }
  bool Visible() const { return visible; }
  void SetVisible(bool v);

  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;

 protected:
  friend class Form;
  virtual void Paint(SDL_Surface* canvas) = 0;
  virtual void MouseDown(int, int) {}
  virtual void MouseUp(int, int, bool inside) { (void)inside; }
  virtual bool KeyDown(SDL_Keycode) { return false; }
  virtual bool KeyUp(SDL_Keycode) { return false; }
  virtual bool Windowed() const { return false; }  // drawn above the form's graphic controls
  void Invalidate();
  Form* owner = nullptr;
};

// Text drawn on the form's colour. Captions are Big5.
class Label : public Control {
 public:
  void SetCaption(const std::string& big5);
  const std::string& Caption() const { return caption_; }

  FontSpec font;
  bool autoSize = true;
  bool centred = false;
  std::function<void()> onClick;

 protected:
  void Paint(SDL_Surface* canvas) override;
  void MouseUp(int, int, bool inside) override;

 private:
  std::string caption_;
};

// A push button: the mouse, or Enter and Space while it has the focus, click it.
class Button : public Control {
 public:
  std::string caption;  // Big5
  FontSpec font;
  std::function<void()> onClick;
  bool Pressed() const { return pressed_ && hot_; }

 protected:
  void Paint(SDL_Surface* canvas) override;
  void MouseDown(int, int) override;
  void MouseUp(int, int, bool inside) override;
  bool KeyDown(SDL_Keycode key) override;
  bool KeyUp(SDL_Keycode key) override;
  bool Windowed() const override { return true; }

 private:
  friend class Form;
  bool pressed_ = false;
  bool hot_ = false;
  bool spaceDown_ = false;
};

// A window timer: its handler runs from the event loop once per interval while it is enabled,
// also while its form is hidden. Late ticks are not made up.
class Timer {
 public:
  void SetInterval(Uint32 ms);
  Uint32 Interval() const { return interval_; }
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  std::function<void()> onTimer;

 private:
  friend class Application;
  friend class Form;
  void Restart();
  Application* app = nullptr;
  Uint32 interval_ = 1000;
  bool enabled_ = true;
  Uint32 due_ = 0;
};

struct FormStyle {
  int clientWidth = 100, clientHeight = 100;
  std::string caption;  // Big5
  SDL_Color colour{212, 208, 200, 255};
  bool borderless = false;
  bool stayOnTop = false;
};

class Form {
 public:
  explicit Form(Application& app, const FormStyle& style);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  // Visible and in front; the form becomes the active one.
  void Show();
  void Hide();
  bool Visible() const { return visible_; }
  bool Active() const;

  Label* AddLabel();
  Button* AddButton();
  Timer* AddTimer();

  std::function<void()> onActivate;

  SDL_Window* Window() const { return window_; }
  // The client area as last painted.
  SDL_Surface* Canvas() const { return canvas_; }
  const FormStyle& Style() const { return style_; }
  Application& App() const { return app_; }

  void Invalidate() { dirty_ = true; }
  void Paint();

 private:
  friend class Application;
  friend class Button;
  void MouseDown(int x, int y);
  void MouseUp(int x, int y);
  void MouseMove(int x, int y);
  void KeyDown(SDL_Keycode key);
  void KeyUp(SDL_Keycode key);
  Control* ControlAt(int x, int y) const;

  Application& app_;
  FormStyle style_;
  SDL_Window* window_ = nullptr;
  SDL_Surface* canvas_ = nullptr;
  bool visible_ = false;
  bool dirty_ = true;
  std::vector<std::unique_ptr<Control>> controls_;
  std::vector<std::unique_ptr<Timer>> timers_;
  Control* captured_ = nullptr;
  Button* focus_ = nullptr;
};

class Application {
 public:
  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Makes a form; the first one made is the main form, whose closing ends Run.
  template <class T>
  void CreateForm(T*& ref) {
    auto form = std::make_unique<T>(*this);
    ref = form.get();
    forms_.push_back(std::move(form));
    if (!mainForm_) mainForm_ = ref;
  }

  // Shows the main form and handles events and timers until it is closed.
  void Run();
  // One pass of the loop: waits at most `waitMs` for an event or a due timer, then handles
  // what is there. False once the program is to end.
  bool Step(int waitMs);
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }

  Form* MainForm() const { return mainForm_; }
  Form* ActiveForm() const { return active_; }
  // Makes `form` the active form; its activation handler runs if it was not active already.
  void Activate(Form* form);

  // The millisecond clock the timers run on; tests replace it.
  std::function<Uint32()> ticks;
  // Runs the handlers of every timer that is due by ticks().
  void RunDueTimers();

  TTF_Font* Font(const FontSpec& spec);

 private:
  friend class Form;
  friend class Timer;
  void HandleEvent(const SDL_Event& e);
  Form* FormOf(Uint32 windowId) const;
  void FormHidden(Form* form);
  void PaintDirty();

  std::vector<std::unique_ptr<Form>> forms_;
  Form* mainForm_ = nullptr;
  Form* active_ = nullptr;
  bool terminated_ = false;
  bool ttf_ = false;
  std::map<std::tuple<int, int, bool>, TTF_Font*> fonts_;
};
