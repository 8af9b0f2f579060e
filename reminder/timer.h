// The clock window: the time, every second, and the reminder at the odd full hours.
#pragma once
#include "ClockText.h"
#include "Forms.h"

class TForm1 : public Form {
 public:
  explicit TForm1(Application& app);

  Label* Label1;  // the time
  Label* Label2;
  Timer* Timer1;

  // Where the time comes from; tests set their own.
  ClockFn now = SystemNow;
  // Built once, from the user's locale.
  TimeFormat longTimeFormat;

  // Each tick of Timer1 and each activation: show the time and raise the reminder on the hour.
  void Timer1Timer();
  void Label1Click();
};

extern TForm1* Form1;
