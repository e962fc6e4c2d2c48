// The SDL2 backend on SDL's offscreen video driver: native input becomes the program's events,
// the window shows the screen's pixels and opens where it is asked to, and dropped files reach
// the program.
#include <gtest/gtest.h>

#if VL_HAVE_SDL

#include <SDL.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Alerts.h"
#include "Events.h"
#include "Screen.h"
#include "TempFolder.h"
#include "Ticks.h"
#include "sdl/SdlBackend.h"

namespace {

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No display is needed: SDL draws into memory.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    vlclock::UseVirtualClock(false);
    vlui::ResetEvents();
    vlsdl::Options options;
    options.width = 640;
    options.height = 480;
    options.dropFiles = [this](const std::vector<std::string>& paths) { drops.push_back(paths); };
    Open(options);
    vlui::SetEventSource(&backend);
  }
  void Open(const vlsdl::Options& options) {
    std::string error;
    opened = backend.Open(options, &error);
    if (!opened) GTEST_SKIP() << error;
  }
  void TearDown() override {
    vlui::SetEventSource(nullptr);
    vlui::ShutdownScreen();
    if (opened) backend.Close();
    vlui::ResetEvents();
    vlclock::UseVirtualClock(true);
  }
  std::vector<EventRecord> Drain() {
    std::vector<EventRecord> events;
    EventRecord e;
    while (PortGetNextEvent(everyEvent & ~(activMask | updateMask), &e)) events.push_back(e);
    return events;
  }
  vlsdl::SdlBackend backend;
  bool opened = false;
  std::vector<std::vector<std::string>> drops;
};

TEST_F(SdlBackendTest, MouseKeysAndTextBecomeEvents) {
  EXPECT_EQ(vlui::ScreenWidth(), 640);
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = SDL_BUTTON_LEFT;
  e.button.x = 30;
  e.button.y = 40;
  SDL_PushEvent(&e);
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = SDLK_RETURN;
  SDL_PushEvent(&e);
  SDL_Event text{};
  text.type = SDL_TEXTINPUT;
  std::strcpy(text.text.text, "\xC3\xA9");  // é
  SDL_PushEvent(&text);
  std::vector<EventRecord> events = Drain();
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].what, mouseDown);
  EXPECT_EQ(events[0].where, (Point{40, 30}));
  EXPECT_TRUE(PortButton());
  EXPECT_EQ(events[1].what, keyDown);
  EXPECT_EQ(events[1].message, PortKeyMessage(13));
  EXPECT_EQ(events[2].what, keyDown);
  EXPECT_EQ(events[2].message & charCodeMask, 0x8Eu);  // é in Mac Roman
  EXPECT_EQ(events[3].what, keyUp);
}

// A press and release that come in one pump, while the program polls the button (waiting for a
// click, as the about box does): the press is seen once, then the release.
TEST_F(SdlBackendTest, AQuickClickIsSeenByAProgramPollingTheButton) {
  auto push = [](Uint32 type) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 10;
    e.button.y = 10;
    SDL_PushEvent(&e);
  };
  EXPECT_FALSE(PortButton());
  push(SDL_MOUSEBUTTONDOWN);
  push(SDL_MOUSEBUTTONUP);
  EXPECT_TRUE(PortButton());
  EXPECT_FALSE(PortButton());
  EXPECT_EQ(Drain().size(), 2u);
  // A press the program never polled is over when it asks for its next event.
  push(SDL_MOUSEBUTTONDOWN);
  push(SDL_MOUSEBUTTONUP);
  std::vector<EventRecord> events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].what, mouseDown);
  EXPECT_EQ(events[1].what, mouseUp);
  EventRecord none;
  PortGetNextEvent(everyEvent, &none);
  EXPECT_FALSE(PortButton());
}

// Without a sound device the beep is seen: the menu bar flashes and is put back as it was.
TEST_F(SdlBackendTest, ABeepWithoutSoundFlashesTheMenuBar) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const PixMap* pm = vlui::ScreenPixMap();
  const std::size_t bytes = std::size_t(pm->rowBytes) * std::size_t(vlui::ScreenHeight());
  std::vector<char> before(pm->baseAddr, pm->baseAddr + bytes);
  long beeps = vlui::BeepCount();
  PortBeep(1);
  unsetenv("SDL_AUDIODRIVER");
  EXPECT_EQ(backend.FlashCount(), 1);
  EXPECT_EQ(vlui::BeepCount(), beeps + 1);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), pm->baseAddr));
}

// With a sound device the beep is heard: SDL's disk driver writes what the device plays.
TEST_F(SdlBackendTest, ABeepWithSoundPlaysATone) {
  vltest::TempFolder temp;
  const std::string played = temp.Path("beep.raw");
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", played.c_str(), 1);
  PortBeep(1);
  SDL_Delay(400);
  backend.Close();
  opened = false;
  unsetenv("SDL_AUDIODRIVER");
  unsetenv("SDL_DISKAUDIOFILE");
  std::error_code ec;
  if (!std::filesystem::exists(played, ec)) GTEST_SKIP() << "SDL has no disk audio driver";
  std::ifstream in(played, std::ios::binary);
  std::vector<char> samples((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(backend.FlashCount(), 0);
  EXPECT_TRUE(std::any_of(samples.begin(), samples.end(), [](char c) { return c != 0; }));
}

TEST_F(SdlBackendTest, ClosingTheWindowAsksTheProgramToQuit) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  std::vector<EventRecord> events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].what, commandEvt);
  EXPECT_EQ(events[0].message, 1u);
}

// The offscreen driver keeps the position and size it is given but has no window manager to
// maximize a window, so the maximized state is only checked as answered, not as kept.
TEST_F(SdlBackendTest, TheWindowOpensWhereItIsPlacedAndSaysWhereItIs) {
  vlsdl::Placement now;
  ASSERT_TRUE(backend.CurrentPlacement(&now));
  EXPECT_EQ(now.width, 640);
  EXPECT_EQ(now.height, 480);
  EXPECT_FALSE(now.maximized);
  backend.Close();
  EXPECT_FALSE(backend.CurrentPlacement(&now));

  vlsdl::Options options;
  options.x = 120;
  options.y = 45;
  options.width = 800;
  options.height = 500;
  Open(options);
  ASSERT_TRUE(backend.CurrentPlacement(&now));
  EXPECT_EQ(now.x, 120);
  EXPECT_EQ(now.y, 45);
  EXPECT_EQ(now.width, 800);
  EXPECT_EQ(now.height, 500);
  EXPECT_EQ(vlui::ScreenWidth(), 800);
}

TEST_F(SdlBackendTest, DroppedFilesReachTheProgramInOrderOneDropAtATime) {
  auto push = [](Uint32 type, const char* path) {
    SDL_Event e{};
    e.type = type;
    e.drop.file = path ? SDL_strdup(path) : nullptr;  // the backend frees it, as SDL's own
    SDL_PushEvent(&e);
  };
  push(SDL_DROPBEGIN, nullptr);
  push(SDL_DROPFILE, "/tmp/b plan.vl");
  push(SDL_DROPFILE, "/tmp/a.vl");
  backend.PollFor(vlui::PollKind::kEvents);
  EXPECT_TRUE(drops.empty());  // the drop is not complete yet
  push(SDL_DROPCOMPLETE, nullptr);
  // A file that comes without a begin and a complete is a drop of its own.
  push(SDL_DROPFILE, "/tmp/c.vl");
  backend.PollFor(vlui::PollKind::kEvents);
  ASSERT_EQ(drops.size(), 2u);
  EXPECT_EQ(drops[0], (std::vector<std::string>{"/tmp/b plan.vl", "/tmp/a.vl"}));
  EXPECT_EQ(drops[1], (std::vector<std::string>{"/tmp/c.vl"}));
  EXPECT_TRUE(Drain().empty());
}

}  // namespace

#endif
