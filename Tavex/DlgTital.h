// The animated title shown once at start-up; a click anywhere ends it.
#pragma once
#include "Screen.h"

class CDlgTital : public CScreen {
 public:
  explicit CDlgTital(CTavexDlg* host);

  WaveSound music;

  // The animation runs 0..10..0 and lives as long as the program, across runs of the title.
  static constexpr int kFrames = 11;
  static constexpr uint32_t kFrameMs = 200;
  static int32_t titleFrame;
  static int32_t titleForward;
  static uint32_t titleLastStep;
  static bool titleClockStarted;

  void Compose();
  void Draw() override;
  BOOL DestroyWindow() override;

 protected:
  BOOL OnInitDialog() override;
  // Enter, Escape and the system's close request leave the title running.
  void OnOK() override;
  void OnCancel() override;
  void OnMouseMove(UINT flags, CPoint point) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
};
