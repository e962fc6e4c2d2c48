// The SDL2 backend on SDL's offscreen video driver: native input becomes the program's events,
// and the window shows the screen's pixels.
#include <gtest/gtest.h>

#if VL_HAVE_SDL

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "Events.h"
#include "Screen.h"
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
    std::string error;
    vlsdl::Options options;
    options.width = 640;
    options.height = 480;
    if (!backend.Open(options, &error)) GTEST_SKIP() << error;
    opened = true;
    vlui::SetEventSource(&backend);
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

TEST_F(SdlBackendTest, ClosingTheWindowAsksTheProgramToQuit) {
  SDL_Event e{};
  e.type = SDL_QUIT;
  SDL_PushEvent(&e);
  std::vector<EventRecord> events = Drain();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].what, commandEvt);
  EXPECT_EQ(events[0].message, 1u);
}

}  // namespace

#endif
