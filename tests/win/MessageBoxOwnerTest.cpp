// The application's message box (the OpenGL set-up failures use it) is owned by a window of
// the program: never by the window of another program that a preview lives in.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/win/DialogWatcher.h"
#include "tests/win/WindowTest.h"

namespace {

// A form for CreateForm: a small scene window.
class THostedF : public TSceneF {
public:
  explicit THostedF(TComponent* owner) : TSceneF(owner, 160, 120) {}
};

THostedF* HostedF = nullptr;

// A visible window that belongs to a thread of its own, as the settings page's window belongs
// to another program. A child window of it ties the two threads' input together, so the
// active window the test thread sees is the host's, as it is for a preview.
class ForeignHost {
public:
  // Waits up to kReady for the window; Window() is null when it did not come.
  ForeignHost() : thread_([this] { Run(); }) {
    kit::waitUntil([this] { return ready_.load(); }, kReady, kit::Milliseconds{1});
  }
  ~ForeignHost() {
    PostThreadMessageA(threadId_.load(), WM_QUIT, 0, 0);
    thread_.join();
  }
  ForeignHost(const ForeignHost&) = delete;
  ForeignHost& operator=(const ForeignHost&) = delete;

  HWND Window() const { return window_.load(); }

private:
  void Run() {
    threadId_ = GetCurrentThreadId();
    HWND window = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240,
                                  180, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    window_ = window;
    ready_ = true;
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DestroyWindow(window);
  }

  static constexpr kit::Milliseconds kReady{10000};
  std::atomic<HWND> window_{nullptr};
  std::atomic<bool> ready_{false};
  std::atomic<DWORD> threadId_{0};
  std::thread thread_;
};

class ApplicationMessageBox : public WindowTest {};

}  // namespace

TEST_F(ApplicationMessageBox, OfAMainFormInsideAnotherProgramsWindowIsOwnedByTheApplicationWindow) {
  ForeignHost host;
  ASSERT_NE(host.Window(), nullptr) << "the other program's window did not come";
  application->CreateForm(HostedF);
  HostedF->SetParentWindow(host.Window());
  HostedF->HandleNeeded();
  ASSERT_EQ(GetParent(HostedF->Handle()), host.Window());

  DialogWatcher watcher("Error");
  application->MessageBox("-> SetPixelFormat <-", "Error", MB_OK);
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].owner, application->Handle());
  EXPECT_TRUE(IsWindowEnabled(host.Window()));
  // The form's window goes before its host: the host's thread would otherwise wait for this
  // one to destroy it.
  application.reset();
  HostedF = nullptr;
}

TEST_F(ApplicationMessageBox, OfAnOrdinaryMainFormIsOwnedByThatForm) {
  application->CreateForm(HostedF);
  HostedF->HandleNeeded();

  DialogWatcher watcher("Error");
  application->MessageBox("-> Need palette <-", "Error", MB_OK);
  const std::vector<SeenBox> seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].owner, HostedF->Handle());
  HostedF = nullptr;
}
