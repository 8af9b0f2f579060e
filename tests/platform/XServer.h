// An Xvfb of the test's own, 1024 x 768, and the X server's word on where the pointer is.
// Xlib stays in XServer.cpp: its macros clash with GoogleTest.
#pragma once
#include <string>

class XServer {
 public:
  XServer();  // starts Xvfb on the first free display from :140 on
  ~XServer();
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool Running() const { return display != nullptr; }
  const std::string& Name() const { return name; }  // ":N"
  void Pointer(int* x, int* y) const;              // where the X server has it
  void MovePointer(int x, int y) const;            // as the player would

 private:
  void* display = nullptr;
  std::string name;
  int pid = 0;
  void Stop();
};
