// An Xvfb of the test's own, 1024 x 768, the X server's word on where the pointer is, and a
// mouse (and a window manager's move) driven through it.
// Xlib stays in XServer.cpp: its macros clash with GoogleTest.
#pragma once
#include <string>
#include <vector>

class XServer {
 public:
  XServer();  // Xvfb picks a free display itself: tests side by side never share one
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool Running() const { return display != nullptr; }
  const std::string& Name() const { return name; }  // ":N"
  void Pointer(int* x, int* y) const;              // where the X server has it
  // As a mouse does, through XTEST: device motion, which every client sees as such.
  void MovePointer(int x, int y) const;
  void Button(bool down) const;  // the left one
  // The top window moved from outside, as a window manager or `xdotool windowmove` does.
  void MoveTopWindow(int x, int y) const;
  // From now on, every place the pointer goes to (moves and warps alike), in screen pixels;
  // Path gives those since the last call.
  void WatchPointer() const;
  std::vector<std::pair<int, int>> Path() const;

 private:
  void* display = nullptr;
  std::string name;
  int pid = 0;
  mutable std::pair<int, int> lastAt{-1, -1};
  void Stop();
};
