#include "Unit2.h"

TForm2* Form2 = nullptr;

namespace {

FormStyle Form2Style() {
  FormStyle s;
  s.clientWidth = 652;
  s.clientHeight = 453;
  s.caption = "Form2";
  s.colour = SDL_Color{0, 0, 0, 255};
  s.borderless = true;
  s.stayOnTop = true;
  return s;
}

}  // namespace

TForm2::TForm2(Application& app) : Form(app, Form2Style()) {
  Label1 = AddLabel();
  Label1->font = FontSpec{FontFace::Kai, 80, true, SDL_Color{255, 0, 0, 255}};
  Label1->autoSize = false;
  Label1->centred = true;
  Label1->left = -8, Label1->top = 152, Label1->width = 652, Label1->height = 301;
  Label1->SetCaption("請更新機台狀況");

  BitBtn1 = AddButton();
  BitBtn1->font = FontSpec{FontFace::Kai, 35, true, SDL_Color{0, 0, 0, 255}};
  BitBtn1->left = 272, BitBtn1->top = 320, BitBtn1->width = 145, BitBtn1->height = 49;
  BitBtn1->caption = "知道啦!";
  BitBtn1->onClick = [this] { BitBtn1Click(); };

  // Runs from creation, so the message blinks even while the window is hidden.
  Timer1 = AddTimer();
  Timer1->SetInterval(500);
  Timer1->onTimer = [this] { FormActivate(); };
  onActivate = [this] { FormActivate(); };
}

void TForm2::FormActivate() { Label1->SetVisible(!Label1->Visible()); }

void TForm2::BitBtn1Click() { Form2->Hide(); }
