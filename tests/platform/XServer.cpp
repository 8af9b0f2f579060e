#include "XServer.h"

#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

extern char** environ;

XServer::XServer() {
  for (int n = 140; n < 200 && !display; ++n) {
    char lock[32], number[16];
    std::snprintf(lock, sizeof lock, "/tmp/.X%d-lock", n);
    std::snprintf(number, sizeof number, ":%d", n);
    if (access(lock, F_OK) == 0) continue;
    name = number;
    std::vector<std::string> args = {"Xvfb", name, "-screen", "0", "1024x768x24", "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t child;
    if (posix_spawnp(&child, "Xvfb", nullptr, nullptr, argv.data(), environ) != 0) return;
    pid = child;
    for (int tries = 0; tries < 100 && !display; ++tries) {
      usleep(50000);
      if (waitpid(pid, nullptr, WNOHANG) == pid) {  // that display was taken meanwhile
        pid = 0;
        break;
      }
      display = XOpenDisplay(name.c_str());
    }
    if (!display) Stop();
  }
}

XServer::~XServer() {
  if (display) XCloseDisplay(static_cast<Display*>(display));
  Stop();
}

void XServer::Stop() {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  pid = 0;
}

void XServer::Pointer(int* x, int* y) const {
  auto* d = static_cast<Display*>(display);
  Window root, child;
  int wx, wy;
  unsigned mask;
  *x = *y = -1;
  XQueryPointer(d, DefaultRootWindow(d), &root, &child, x, y, &wx, &wy, &mask);
}

void XServer::MovePointer(int x, int y) const {
  auto* d = static_cast<Display*>(display);
  XWarpPointer(d, None, DefaultRootWindow(d), 0, 0, 0, 0, x, y);
  XSync(d, False);
}
