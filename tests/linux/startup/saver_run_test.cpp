// The tolvenar program as screen-saver hosts run it: in a host's window (24- and 32-bit visuals),
// on the host's saver window with --root, in a window of its own; ended by the window's
// destruction, SIGTERM or a key, each time promptly, with exit status 0 and nothing left behind.
// GoogleTest before Xlib, whose macros (None, Bool) would rename its names.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on
#include <dirent.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "scene/linux/x_display.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The program as a child process; killed if a test leaves it running.
class Saver {
 public:
  Saver(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
    std::vector<std::string> args{TOLVENAR_PROGRAM};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> argv, envp;
    for (std::string& a : args) argv.push_back(a.data());
    for (std::string& e : env) envp.push_back(e.data());
    argv.push_back(nullptr);
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
  }
  Saver(const Saver&) = delete;
  Saver& operator=(const Saver&) = delete;
  ~Saver() {
    if (pid_ <= 0 || status_) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  pid_t pid() const { return pid_; }
  // The exit status once the process has ended within `limit`; nothing while it runs.
  std::optional<int> WaitForEnd(milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!status_) {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        break;
      }
      if (Clock::now() > end) break;
      std::this_thread::sleep_for(milliseconds(10));
    }
    return status_;
  }
  bool Running() { return !WaitForEnd(milliseconds(0)); }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

class SaverRun : public ::testing::Test {
 protected:
  void SetUp() override {
    display_ = tolvenar::linux_port::OpenDisplay();
    ASSERT_NE(display_, nullptr) << "the tests need a display (scripts/with-x11)";
  }
  void TearDown() override {
    if (display_) XCloseDisplay(display_);
  }

  // A mapped top-level window of the given depth (24: the default visual; 32: ARGB).
  Window HostWindow(int depth, int width, int height) {
    XVisualInfo info{};
    Visual* visual = DefaultVisual(display_, DefaultScreen(display_));
    if (depth == 32) {
      EXPECT_TRUE(XMatchVisualInfo(display_, DefaultScreen(display_), 32, TrueColor, &info));
      visual = info.visual;
    } else {
      depth = DefaultDepth(display_, DefaultScreen(display_));
    }
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display_, DefaultRootWindow(display_), visual, AllocNone);
    attributes.background_pixel = 0;
    attributes.border_pixel = 0;
    const Window window =
        XCreateWindow(display_, DefaultRootWindow(display_), 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, depth, InputOutput, visual,
                      CWColormap | CWBackPixel | CWBorderPixel, &attributes);
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
  }

  // A pixel that is not the host window's black background, within `limit`.
  bool DrawnInto(Window window, milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (Clock::now() < end) {
      XWindowAttributes attributes{};
      XGetWindowAttributes(display_, window, &attributes);
      XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(attributes.width),
                                static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
      bool drawn = false;
      if (image) {
        for (int y = 0; y < attributes.height && !drawn; y += 7) {
          for (int x = 0; x < attributes.width && !drawn; x += 7) {
            drawn = (XGetPixel(image, x, y) & 0xFFFFFF) != 0;
          }
        }
        XDestroyImage(image);
      }
      if (drawn) return true;
      std::this_thread::sleep_for(milliseconds(100));
    }
    return false;
  }

  std::string Hex(Window window) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lx", window);
    return text;
  }

  Display* display_ = nullptr;
};

// Every file under the folders a run could write to.
std::set<std::string> FilesUnder(const std::vector<std::string>& folders) {
  std::set<std::string> files;
  for (const std::string& folder : folders) {
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
      files.insert(it->path().string());
    }
  }
  return files;
}

std::vector<std::string> UserFolders() {
  std::vector<std::string> folders;
  for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
    if (const char* value = std::getenv(name)) folders.emplace_back(value);
  }
  return folders;
}

// Processes whose parent is this test: a saver's helpers are re-parented here when it ends.
int ChildrenOfThisProcess() {
  int count = 0;
  DIR* proc = opendir("/proc");
  while (dirent* entry = proc ? readdir(proc) : nullptr) {
    std::ifstream stat(std::string("/proc/") + entry->d_name + "/stat");
    std::string pid, name, state;
    long parent = 0;
    if (stat >> pid >> name >> state >> parent && parent == getpid() && state != "Z") ++count;
  }
  if (proc) closedir(proc);
  return count;
}

TEST_F(SaverRun, HostWindowOfEitherDepthIsDrawnFollowedAndItsEndEndsTheRun) {
  for (int depth : {24, 32}) {
    SCOPED_TRACE(depth);
    const Window host = HostWindow(depth, 320, 240);
    Saver saver({"--root", "--window-id", Hex(host)}, {});
    EXPECT_TRUE(DrawnInto(host, milliseconds(10000)));
    XResizeWindow(display_, host, 400, 300);
    XSync(display_, False);
    std::this_thread::sleep_for(milliseconds(300));
    EXPECT_TRUE(saver.Running());
    XDestroyWindow(display_, host);
    XSync(display_, False);
    EXPECT_EQ(saver.WaitForEnd(milliseconds(2000)), 0);
  }
}

TEST_F(SaverRun, AHostWindowGoneBeforeTheStartEndsTheRunAtOnce) {
  const Window host = HostWindow(24, 64, 64);
  XDestroyWindow(display_, host);
  XSync(display_, False);
  Saver saver({"--window-id", Hex(host)}, {});
  EXPECT_EQ(saver.WaitForEnd(milliseconds(2000)), 0);
}

TEST_F(SaverRun, SigtermEndsARunWithinASecondLeavingNothing) {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  const fs::path temporary =
      fs::temp_directory_path() / ("tolvenar-test-" + std::to_string(getpid()));
  fs::create_directories(temporary);
  const std::set<std::string> before = FilesUnder(UserFolders());
  const Window host = HostWindow(24, 200, 150);
  {
    // The host's saver window as --root finds it; the settings ask for music, which a full-screen
    // run plays.
    Saver saver({"--root"}, {"XSCREENSAVER_WINDOW=" + Hex(host), "TMPDIR=" + temporary.string()});
    EXPECT_TRUE(DrawnInto(host, milliseconds(10000)));
    ASSERT_TRUE(saver.Running());
    const auto sent = Clock::now();
    kill(saver.pid(), SIGTERM);
    EXPECT_EQ(saver.WaitForEnd(milliseconds(1000)), 0)
        << "after " << std::chrono::duration_cast<milliseconds>(Clock::now() - sent).count()
        << " ms";
  }
  EXPECT_EQ(FilesUnder(UserFolders()), before);
  EXPECT_TRUE(fs::is_empty(temporary));
  EXPECT_EQ(ChildrenOfThisProcess(), 0);
  fs::remove_all(temporary);
  XDestroyWindow(display_, host);
}

TEST_F(SaverRun, OwnWindowCoversTheScreenAndAKeyEndsIt) {
  Saver saver({}, {});
  const Window root = DefaultRootWindow(display_);
  EXPECT_TRUE(DrawnInto(root, milliseconds(10000)));
  ASSERT_TRUE(saver.Running());
  ASSERT_EQ(std::system("xdotool key space"), 0);
  EXPECT_EQ(saver.WaitForEnd(milliseconds(2000)), 0);
}

}  // namespace
