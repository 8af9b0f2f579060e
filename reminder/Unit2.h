// The reminder window: a blinking message over black, and a button that puts it away.
#pragma once
#include "Forms.h"

class TForm2 : public Form {
 public:
  explicit TForm2(Application& app);

  Label* Label1;
  Button* BitBtn1;
  Timer* Timer1;

  // Each tick of Timer1 and each activation: the message shows or hides, in turn.
  void FormActivate();
  void BitBtn1Click();
};

extern TForm2* Form2;
