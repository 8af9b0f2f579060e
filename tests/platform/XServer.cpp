#include "XServer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace {

Display* D(void* d) { return static_cast<Display*>(d); }

// The display number Xvfb writes once it listens; empty when it ended or said nothing in time.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 20000) <= 0) return "";
    char c;
    if (read(fd, &c, 1) != 1) return "";
    if (c == '\n') return number;
    number += c;
  }
}

}  // namespace

XServer::XServer() {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  const pid_t parent = getpid();
  const pid_t child = fork();
  if (child == 0) {
    // The server ends with the test, however the test ends: a server left behind would hold the
    // test runner's output pipe open, and the runner would wait for it for good.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    if (fds[1] == 3)  // where Xvfb is told to write, and not closed on exec
      fcntl(3, F_SETFD, 0);
    else
      dup2(fds[1], 3);
    execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (child < 0) {
    close(fds[0]);
    return;
  }
  pid = child;
  const std::string number = ReadDisplayNumber(fds[0]);
  close(fds[0]);
  if (!number.empty()) {
    name = ":" + number;
    display = XOpenDisplay(name.c_str());
  }
  if (!display) Stop();
}

XServer::~XServer() {
  if (display) XCloseDisplay(D(display));
  Stop();
}

void XServer::Stop() {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  pid = 0;
}

void XServer::Pointer(int* x, int* y) const {
  Window root, child;
  int wx, wy;
  unsigned mask;
  *x = *y = -1;
  XQueryPointer(D(display), DefaultRootWindow(D(display)), &root, &child, x, y, &wx, &wy, &mask);
}

void XServer::MovePointer(int x, int y) const {
  XTestFakeMotionEvent(D(display), -1, x, y, CurrentTime);
  XSync(D(display), False);
}

void XServer::Button(bool down) const {
  XTestFakeButtonEvent(D(display), 1, down ? True : False, CurrentTime);
  XSync(D(display), False);
}

void XServer::MoveTopWindow(int x, int y) const {
  Display* d = D(display);
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  if (!XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &n)) return;
  for (unsigned i = n; i-- > 0;) {  // the top of the stack last
    XWindowAttributes a;
    if (XGetWindowAttributes(d, children[i], &a) && a.map_state == IsViewable) {
      XMoveWindow(d, children[i], x, y);
      break;
    }
  }
  if (children) XFree(children);
  XSync(d, False);
}

// Through XInput 2: a window whose owner takes XI2 motion (SDL does) gets no core motion
// events to anyone else.
void XServer::WatchPointer() const {
  Display* d = D(display);
  int major = 2, minor = 0;
  XIQueryVersion(d, &major, &minor);
  unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
  XISetMask(bits, XI_Motion);
  XIEventMask mask{XIAllMasterDevices, sizeof bits, bits};
  const Window top = DefaultRootWindow(d);
  XISelectEvents(d, top, &mask, 1);
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  if (XQueryTree(d, top, &root, &parent, &children, &n)) {
    for (unsigned i = 0; i < n; ++i) XISelectEvents(d, children[i], &mask, 1);
    if (children) XFree(children);
  }
  XSync(d, True);
}

std::vector<std::pair<int, int>> XServer::Path() const {
  Display* d = D(display);
  XSync(d, False);
  std::vector<std::pair<int, int>> path;
  while (XPending(d)) {
    XEvent e;
    XNextEvent(d, &e);
    if (e.type != GenericEvent || !XGetEventData(d, &e.xcookie)) continue;
    if (e.xcookie.evtype == XI_Motion) {
      const auto* m = static_cast<const XIDeviceEvent*>(e.xcookie.data);
      const std::pair<int, int> at(static_cast<int>(m->root_x), static_cast<int>(m->root_y));
      if (at != lastAt) path.push_back(at);  // a warp to where it is moves nothing
      lastAt = at;
    }
    XFreeEventData(d, &e.xcookie);
  }
  return path;
}
