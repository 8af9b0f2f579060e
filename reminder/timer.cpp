#include "timer.h"

#include "Unit2.h"

TForm1* Form1 = nullptr;

namespace {

FormStyle Form1Style() {
  FormStyle s;
  // Client area of a 291 x 59 window with a caption bar and a sizing frame.
  s.clientWidth = 283;
  s.clientHeight = 32;
  s.caption = "SHOW時呼叫程式";
  s.stayOnTop = true;
  return s;
}

}  // namespace

TForm1::TForm1(Application& app) : Form(app, Form1Style()), longTimeFormat(LongTimeFormat()) {
  Label1 = AddLabel();
  Label1->font = FontSpec{FontFace::Sans, 13, true, SDL_Color{0, 0, 0, 255}};
  Label1->left = 88, Label1->top = 0;
  Label1->onClick = [this] { Label1Click(); };

  Label2 = AddLabel();
  Label2->font = FontSpec{FontFace::Kai, 16, true, SDL_Color{0, 0, 255, 255}};
  Label2->autoSize = false;
  Label2->left = 0, Label2->top = 0, Label2->width = 77, Label2->height = 16;
  Label2->SetCaption("現在時刻:");

  Timer1 = AddTimer();
  Timer1->SetInterval(1000);
  Timer1->onTimer = [this] { Timer1Timer(); };
  onActivate = [this] { Timer1Timer(); };
}

void TForm1::Timer1Timer() {
  Label1->SetCaption(TimeText(longTimeFormat, now()));
  // Compared as the label reads it, so only one locale format can ever match.
  const std::string& text = Label1->Caption();
  for (const char* t : kReminderTimes)
    if (text == t && Form2) Form2->Show();
}

void TForm1::Label1Click() { Timer1->SetInterval(1000); }
