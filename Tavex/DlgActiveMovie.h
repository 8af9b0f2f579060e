// The movie dialog: built with the other screens and destroyed with them; nothing shows it.
#pragma once
#include "Dialog.h"

class CDlgActiveMovie : public CDialog {
 public:
  explicit CDlgActiveMovie(CWnd* parent = nullptr);
};
