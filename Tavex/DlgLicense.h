// The strength certificate after the grading ladder, and the certificate disk it can write:
// the viewer program followed by a fixed-size trailer holding the certificate text.
#pragma once
#include <cstdint>

#include "CertTrailer.h"
#include "Screen.h"

constexpr int kLadderLevels = 12;
// The viewer reads back exactly what the game appends.
constexpr int kCertificateTrailerBytes = kTrailerSize;

// The grade the certificate names for the highest level passed (0 to 11).
const char* CertificateGradeName(int level);
// The trailer: the certificate text, its NUL, and zeros up to the end.
void FormatCertificateTrailer(int level, uint8_t (&trailer)[kCertificateTrailerBytes]);

enum CertificateOutcome {
  CERTIFICATE_WRITTEN,
  CERTIFICATE_NO_DISK,       // no empty 1.44 MB diskette in A: or B:
  CERTIFICATE_NO_VIEWER,     // "Quillan.dat" does not open
  CERTIFICATE_WRITE_FAILED,  // reading the viewer or writing the disk went wrong; nothing is left
};
// Writes "<drive>:\Quillan.exe" on the first drive that holds an empty diskette. On any failure
// after the drive was chosen, no file is left behind.
CertificateOutcome WriteCertificateDisk(int level);

class CDlgCertificate : public CScreen {
 public:
  enum : UINT { IDD = 114 };  // dialog template

  explicit CDlgCertificate(CTavexDlg* host);

  int32_t level = 0;  // the highest ladder level passed; set by the host before each run
  ScreenButton TitleBarButtons[TITLE_BUTTONS];

  void Draw() override;
  // Writes the certificate disk and tells the user how it went; a written disk ends the screen.
  void SaveCertificate();

  // How the screen tells the user something; tests replace it.
  static int (*messageBox)(CWnd* owner, const char* text);

 protected:
  BOOL OnInitDialog() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonUp(UINT flags, CPoint point) override;
  void OnChar(UINT ch, UINT repeat, UINT flags) override;

 private:
  void Layout();
  bool Renju() const;
};
