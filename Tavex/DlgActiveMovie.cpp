#include "DlgActiveMovie.h"

#include "Screen.h"

CDlgActiveMovie::CDlgActiveMovie(CWnd* parent) : CDialog(IDD_DLG_ACTIVEMOVIE, parent) {}
