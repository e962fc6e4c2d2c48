#include "SdlBackend.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "Alerts.h"
#include "CApplication.h"
#include "Cursors.h"
#include "Menus.h"
#include "PString.h"
#include "Screen.h"
#include "Shell.h"
#include "Ticks.h"

namespace vlsdl {

struct SdlBackend::Impl {
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  int textureWidth = 0;
  int textureHeight = 0;
  SDL_Cursor* cursor = nullptr;
  UInt32 shownGeneration = 0;
  UInt32 shownCursor = 0;
  UInt32 lastPresent = 0;
  Options options;
  UInt32 openedAt = 0;
  bool snapshotTaken = false;
  bool initialised = false;
  // The files of the drop under way, handed on when it is complete.
  std::vector<std::string> dropped;
  bool inDrop = false;
  // A press the program has not polled yet keeps the button down: a press and release that
  // come in one pump would otherwise never be seen by a program that polls the button.
  bool pressSeen = true;
  bool releasePending = false;
  // The beep: the sound device (opened at the first beep; 0 when there is none).
  SDL_AudioDeviceID audio = 0;
  bool audioTried = false;
  int flashes = 0;
  bool beepInstalled = false;
  vlui::BeepHandler previousBeep;
};

namespace {

// SDL and the display drivers below it keep some of their allocations for the life of the
// process (and unload before the leak check runs): they are not this program's to check.
struct SystemAllocations {
  SystemAllocations();
  ~SystemAllocations();
  SystemAllocations(const SystemAllocations&) = delete;
  SystemAllocations& operator=(const SystemAllocations&) = delete;
};

SystemAllocations::SystemAllocations() {
#if defined(__SANITIZE_ADDRESS__)
  __lsan_disable();
#endif
}

SystemAllocations::~SystemAllocations() {
#if defined(__SANITIZE_ADDRESS__)
  __lsan_enable();
#endif
}

UInt16 Modifiers() {
  SDL_Keymod mod = SDL_GetModState();
  UInt16 m = 0;
  if (mod & KMOD_CTRL) m |= cmdKey;
  if (mod & KMOD_SHIFT) m |= shiftKey;
  if (mod & KMOD_ALT) m |= optionKey;
  if (mod & KMOD_CAPS) m |= alphaLock;
  return m;
}

// The character of a key that is not text; 0 for keys that come as text input.
unsigned char SpecialKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_RETURN: return kReturnChar;
    case SDLK_KP_ENTER: return kEnterChar;
    case SDLK_TAB: return kTabChar;
    case SDLK_ESCAPE: return kEscapeChar;
    case SDLK_BACKSPACE: return kBackspaceChar;
    case SDLK_DELETE: return kDeleteChar;
    case SDLK_LEFT: return kLeftArrowChar;
    case SDLK_RIGHT: return kRightArrowChar;
    case SDLK_UP: return kUpArrowChar;
    case SDLK_DOWN: return kDownArrowChar;
    case SDLK_HOME: return kHomeChar;
    case SDLK_END: return kEndChar;
    case SDLK_PAGEUP: return kPageUpChar;
    case SDLK_PAGEDOWN: return kPageDownChar;
    default: return 0;
  }
}

// The beep's tone: a short high note, faded in and out so that it does not click.
constexpr int kToneRate = 22050;
constexpr double kToneHz = 880.0;
constexpr int kToneMs = 150;
constexpr int kToneFadeMs = 10;
constexpr double kToneLevel = 8000.0;
// How long the menu bar stays inverted for a beep that cannot be heard.
constexpr Uint32 kFlashMs = 100;

std::vector<Sint16> ToneSamples() {
  const int count = kToneRate * kToneMs / 1000;
  const int fade = kToneRate * kToneFadeMs / 1000;
  std::vector<Sint16> samples(std::size_t(count), 0);
  for (int i = 0; i < count; ++i) {
    double envelope = std::min({1.0, double(i) / fade, double(count - 1 - i) / fade});
    samples[std::size_t(i)] = Sint16(kToneLevel * envelope * std::sin(2.0 * M_PI * kToneHz * i / kToneRate));
  }
  return samples;
}

// How long a new window waits for the window manager to tell its borders (none come where no
// window manager runs).
constexpr Uint32 kBorderWaitMs = 300;

// SDL falls back to a video driver that shows nothing when it reaches no display (a shell
// without X, a cron job): the program would run unseen for ever, holding the one-instance lock.
// Such a driver is taken only when SDL_VIDEODRIVER names it.
bool ShowsNothing(const char* driver) {
  return driver && (SDL_strcasecmp(driver, "offscreen") == 0 || SDL_strcasecmp(driver, "dummy") == 0);
}

bool AskedFor(const char* driver) {
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if (!asked) return false;
  std::string list = asked;
  std::size_t from = 0;
  while (from <= list.size()) {
    std::size_t comma = list.find(',', from);
    std::string name = list.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    if (SDL_strcasecmp(name.c_str(), driver) == 0) return true;
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  return false;
}

// The window manager's borders around the window; zeros where there are none or SDL cannot tell.
void Borders(SDL_Window* window, int* top, int* left, int* bottom, int* right) {
  if (SDL_GetWindowBordersSize(window, top, left, bottom, right) != 0) *top = *left = *bottom = *right = 0;
}

void SetMouseFrom(int x, int y) {
  vlui::SetMouse(Point{SInt16(y), SInt16(x)});
  vlui::NoteMouseMoved();
}

}  // namespace

SdlBackend::SdlBackend() : impl(new Impl) {}

SdlBackend::~SdlBackend() {
  Close();
  delete impl;
}

bool SdlBackend::Open(const Options& options, std::string* error) {
  SystemAllocations system;
  impl->options = options;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    if (error) *error = std::string("the display cannot be opened: ") + SDL_GetError();
    return false;
  }
  impl->initialised = true;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (ShowsNothing(driver) && !AskedFor(driver)) {
    if (error)
      *error = std::string("no display can be reached (SDL fell back to its \"") + driver +
               "\" video driver, which shows nothing); set SDL_VIDEODRIVER=" + driver + " to run so on purpose";
    Close();
    return false;
  }
  auto position = [](int at) { return at == Options::kUndefinedPosition ? int(SDL_WINDOWPOS_UNDEFINED) : at; };
  Uint32 flags = SDL_WINDOW_RESIZABLE;
  if (options.maximized) flags |= SDL_WINDOW_MAXIMIZED;
  if (options.minimized) flags |= SDL_WINDOW_MINIMIZED;
  impl->window = SDL_CreateWindow("Velmora", position(options.x), position(options.y), options.width, options.height,
                                  flags);
  if (impl->window) impl->renderer = SDL_CreateRenderer(impl->window, -1, 0);
  if (!impl->window || !impl->renderer) {
    if (error) *error = std::string("the window cannot be made: ") + SDL_GetError();
    Close();
    return false;
  }
  // Below the screen's minimum the screen would be shown scaled down and the mouse would miss.
  SDL_SetWindowMinimumSize(impl->window, vlui::kMinScreenWidth, vlui::kMinScreenHeight);
  PlaceFrame(options);
  int w = options.width, h = options.height;
  SDL_GetWindowSize(impl->window, &w, &h);
  vlui::InitScreen(w, h);
  SDL_StartTextInput();
  impl->previousBeep = vlui::SetBeepHandler([this](SInt16 duration) { Beep(duration); });
  impl->beepInstalled = true;
  impl->openedAt = PortTickCount();
  Present(true);
  return true;
}

void SdlBackend::PlaceFrame(const Options& options) {
  bool placed = options.x != Options::kUndefinedPosition && options.y != Options::kUndefinedPosition;
  if ((!placed && !options.sizeIsFrame) || options.maximized || options.minimized) return;
  int top = 0, left = 0, bottom = 0, right = 0;
  Uint32 until = SDL_GetTicks() + kBorderWaitMs;
  while (SDL_GetWindowBordersSize(impl->window, &top, &left, &bottom, &right) == 0 &&
         top + left + bottom + right == 0 && !SDL_TICKS_PASSED(SDL_GetTicks(), until)) {
    SDL_PumpEvents();
    SDL_Delay(10);
  }
  Borders(impl->window, &top, &left, &bottom, &right);
  if (options.sizeIsFrame)
    SDL_SetWindowSize(impl->window, std::max(vlui::kMinScreenWidth, options.width - left - right),
                      std::max(vlui::kMinScreenHeight, options.height - top - bottom));
  // SDL places the window by its inside; the frame goes to the point asked.
  if (placed) SDL_SetWindowPosition(impl->window, options.x + left, options.y + top);
}

void SdlBackend::Close() {
  SystemAllocations system;
  if (impl->beepInstalled) vlui::SetBeepHandler(std::move(impl->previousBeep));
  impl->beepInstalled = false;
  impl->previousBeep = nullptr;
  if (impl->audio) SDL_CloseAudioDevice(impl->audio);
  impl->audio = 0;
  impl->audioTried = false;
  impl->flashes = 0;
  if (impl->cursor) SDL_FreeCursor(impl->cursor);
  if (impl->texture) SDL_DestroyTexture(impl->texture);
  if (impl->renderer) SDL_DestroyRenderer(impl->renderer);
  if (impl->window) SDL_DestroyWindow(impl->window);
  impl->cursor = nullptr;
  impl->texture = nullptr;
  impl->renderer = nullptr;
  impl->window = nullptr;
  if (impl->initialised) SDL_Quit();
  impl->initialised = false;
  impl->dropped.clear();
  impl->inDrop = false;
}

bool SdlBackend::CurrentPlacement(Placement* placement) const {
  if (!impl->window) return false;
  SDL_GetWindowPosition(impl->window, &placement->x, &placement->y);
  SDL_GetWindowSize(impl->window, &placement->width, &placement->height);
  int top = 0, left = 0, bottom = 0, right = 0;
  Borders(impl->window, &top, &left, &bottom, &right);
  placement->x -= left;
  placement->y -= top;
  placement->width += left + right;
  placement->height += top + bottom;
  placement->maximized = (SDL_GetWindowFlags(impl->window) & SDL_WINDOW_MAXIMIZED) != 0;
  return true;
}

void SdlBackend::Beep(SInt16) {
  if (PlayTone()) return;
  ++impl->flashes;
  vlui::InvertMenuBar();
  Present(true);
  SDL_Delay(kFlashMs);
  vlui::InvertMenuBar();
  Present(true);
}

int SdlBackend::FlashCount() const { return impl->flashes; }

bool SdlBackend::PlayTone() {
  SystemAllocations system;
  if (!impl->audioTried) {
    impl->audioTried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
      SDL_AudioSpec want{};
      want.freq = kToneRate;
      want.format = AUDIO_S16SYS;
      want.channels = 1;
      want.samples = 1024;
      impl->audio = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
      if (impl->audio)
        SDL_PauseAudioDevice(impl->audio, 0);
      else
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
  }
  if (!impl->audio) return false;
  // Beeps in a row while one still sounds are one beep.
  if (SDL_GetQueuedAudioSize(impl->audio) > 0) return true;
  static const std::vector<Sint16> tone = ToneSamples();
  return SDL_QueueAudio(impl->audio, tone.data(), Uint32(tone.size() * sizeof(Sint16))) == 0;
}

void SdlBackend::DeliverDrops() {
  if (impl->dropped.empty()) return;
  // Taken out first: opening the files runs the program, which may pump events again.
  std::vector<std::string> paths;
  paths.swap(impl->dropped);
  if (impl->options.dropFiles) impl->options.dropFiles(paths);
}

void SdlBackend::Present(bool force) {
  SystemAllocations system;
  const PixMap* pm = vlui::ScreenPixMap();
  if (!impl->renderer || !pm) return;
  UInt32 now = SDL_GetTicks();
  // Drawing through window ports does not count as a change the window manager knows of, so the
  // picture is also shown again a few times a second.
  if (!force && vlui::ScreenGeneration() == impl->shownGeneration && now - impl->lastPresent < 50) return;
  int w = vlui::ScreenWidth(), h = vlui::ScreenHeight();
  if (!impl->texture || impl->textureWidth != w || impl->textureHeight != h) {
    if (impl->texture) SDL_DestroyTexture(impl->texture);
    impl->texture = SDL_CreateTexture(impl->renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
    impl->textureWidth = w;
    impl->textureHeight = h;
  }
  if (!impl->texture) return;
  SDL_UpdateTexture(impl->texture, nullptr, pm->baseAddr, pm->rowBytes);
  SDL_RenderClear(impl->renderer);
  SDL_RenderCopy(impl->renderer, impl->texture, nullptr, nullptr);
  // The snapshot is what the window shows, read back from the renderer.
  if (impl->options.snapshotAfterTicks >= 0 && !impl->snapshotTaken &&
      long(PortTickCount() - impl->openedAt) >= impl->options.snapshotAfterTicks) {
    impl->snapshotTaken = true;
    std::vector<UInt32> pixels(std::size_t(w) * std::size_t(h));
    if (SDL_RenderReadPixels(impl->renderer, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), w * 4) == 0) {
      PixMap shot;
      shot.baseAddr = reinterpret_cast<Ptr>(pixels.data());
      shot.rowBytes = w * 4;
      shot.bounds = Rect{0, 0, SInt16(h), SInt16(w)};
      shot.pixelSize = 32;
      for (UInt32& p : pixels) p &= 0x00FFFFFF;
      std::string error;
      if (!vlui::WritePixMapPng(shot, impl->options.snapshotPath, &error)) std::fprintf(stderr, "%s\n", error.c_str());
    } else {
      std::fprintf(stderr, "the window cannot be read back: %s\n", SDL_GetError());
    }
    PortMenuCommand(0xFFFF);
  }
  SDL_RenderPresent(impl->renderer);
  impl->shownGeneration = vlui::ScreenGeneration();
  impl->lastPresent = now;

  // The cursor.
  if (vlui::CursorGeneration() != impl->shownCursor) {
    impl->shownCursor = vlui::CursorGeneration();
    const Cursor& c = vlui::CurrentCursor();
    Uint8 data[32], mask[32];
    for (int i = 0; i < 16; ++i) {
      data[2 * i] = Uint8(c.data[i] >> 8);
      data[2 * i + 1] = Uint8(c.data[i]);
      mask[2 * i] = Uint8(c.mask[i] >> 8);
      mask[2 * i + 1] = Uint8(c.mask[i]);
    }
    SDL_Cursor* made = SDL_CreateCursor(data, mask, 16, 16, c.hotSpot.h, c.hotSpot.v);
    if (made) {
      SDL_SetCursor(made);
      if (impl->cursor) SDL_FreeCursor(impl->cursor);
      impl->cursor = made;
    }
    SDL_ShowCursor(vlui::CursorHidden() ? SDL_DISABLE : SDL_ENABLE);
  }
}

bool SdlBackend::Pump(bool wait) {
  bool any = false;
  SDL_Event e;
  auto handle = [&](const SDL_Event& ev) {
    any = true;
    switch (ev.type) {
      case SDL_QUIT:
        PortMenuCommand(0xFFFF);
        break;
      case SDL_WINDOWEVENT:
        if (ev.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
          vlui::ResizeScreen(ev.window.data1, ev.window.data2);
          Present(true);
        } else if (ev.window.event == SDL_WINDOWEVENT_EXPOSED) {
          Present(true);
        }
        break;
      case SDL_MOUSEMOTION:
        SetMouseFrom(ev.motion.x, ev.motion.y);
        break;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        if (ev.button.button != SDL_BUTTON_LEFT) break;
        SetMouseFrom(ev.button.x, ev.button.y);
        UInt16 mods = Modifiers();
        vlui::SetModifiers(mods);
        bool down = ev.type == SDL_MOUSEBUTTONDOWN;
        if (down) {
          vlui::SetButton(true);
          impl->pressSeen = false;
          impl->releasePending = false;
        } else if (impl->pressSeen) {
          vlui::SetButton(false);
        } else {
          impl->releasePending = true;
        }
        vlui::PostEvent(down ? mouseDown : mouseUp, 0, mods);
        break;
      }
      case SDL_KEYDOWN:
      case SDL_KEYUP: {
        UInt16 mods = Modifiers();
        vlui::SetModifiers(mods);
        unsigned char c = SpecialKey(ev.key.keysym.sym);
        // With the command (control) key held letters come as keys, not as text.
        if (!c && (mods & cmdKey) && ev.key.keysym.sym > 0 && ev.key.keysym.sym < 128) c = (unsigned char)ev.key.keysym.sym;
        if (!c) break;
        UInt16 what = ev.type == SDL_KEYUP ? keyUp : ev.key.repeat ? autoKey : keyDown;
        vlui::PostEvent(what, PortKeyMessage(c), mods);
        break;
      }
      case SDL_TEXTINPUT: {
        UInt16 mods = Modifiers();
        if (mods & cmdKey) break;  // taken as a key above
        std::string mac = Utf8ToMacRoman(ev.text.text);
        for (char ch : mac) {
          vlui::PostEvent(keyDown, PortKeyMessage((unsigned char)ch), mods);
          vlui::PostEvent(keyUp, PortKeyMessage((unsigned char)ch), mods);
        }
        break;
      }
      case SDL_CLIPBOARDUPDATE:
        ++clipboardCount;
        break;
      // A drop comes as its files between a begin and a complete; a file without them is a drop
      // of its own.
      case SDL_DROPBEGIN:
        impl->inDrop = true;
        SDL_free(ev.drop.file);
        break;
      case SDL_DROPFILE:
        if (ev.drop.file) impl->dropped.emplace_back(ev.drop.file);
        SDL_free(ev.drop.file);
        break;
      case SDL_DROPTEXT:
        SDL_free(ev.drop.file);
        break;
      case SDL_DROPCOMPLETE:
        impl->inDrop = false;
        SDL_free(ev.drop.file);
        DeliverDrops();
        break;
      default:
        any = false;
        break;
    }
  };
  auto next = [&](bool block) {
    SystemAllocations system;
    return block ? SDL_WaitEventTimeout(&e, 15) != 0 : SDL_PollEvent(&e) != 0;
  };
  if (wait && next(true)) handle(e);
  while (next(false)) handle(e);
  if (!impl->inDrop) DeliverDrops();
  Present(false);
  return any;
}

void SdlBackend::ApplyPendingRelease() {
  if (!impl->releasePending) return;
  impl->releasePending = false;
  impl->pressSeen = true;
  vlui::SetButton(false);
}

void SdlBackend::Refill() {
  // The program asks for its next event: a press it never polled is over.
  ApplyPendingRelease();
  Pump(true);
}

void SdlBackend::PollFor(vlui::PollKind kind) {
  // The latched press was read by the previous poll; this one sees the release.
  if (kind == vlui::PollKind::kButton && impl->pressSeen) ApplyPendingRelease();
  bool any = Pump(false);
  if (kind == vlui::PollKind::kButton) impl->pressSeen = true;
  // A loop that waits for the button need not spin the processor.
  if (!any && kind == vlui::PollKind::kButton) SDL_Delay(2);
}

bool SdlBackend::GetText(std::string* utf8) {
  if (!SDL_HasClipboardText()) return false;
  char* text = SDL_GetClipboardText();
  if (!text) return false;
  *utf8 = text;
  SDL_free(text);
  return true;
}

void SdlBackend::SetText(const std::string& utf8) { SDL_SetClipboardText(utf8.c_str()); }

int RunInWindow(const Options& options, const std::function<CApplication*()>& makeApp, std::FILE* log) {
  SdlBackend backend;
  return RunInWindow(backend, options, makeApp, log);
}

int RunInWindow(SdlBackend& backend, const Options& options, const std::function<CApplication*()>& makeApp,
                std::FILE* log) {
  vlclock::UseVirtualClock(false);
  std::string error;
  if (!backend.Open(options, &error)) {
    std::fprintf(log, "velmora: %s\n", error.c_str());
    return 4;
  }
  vlui::SetInteractive(true);
  vlui::EventSource* previousSource = vlui::SetEventSource(&backend);
  vlui::ClipboardHost* previousClipboard = vlui::SetClipboardHost(&backend);
  int status = 0;
  std::unique_ptr<CApplication> app;
  try {
    app.reset(makeApp());
    if (!app) {
      std::fprintf(log, "velmora: the application could not be made\n");
      status = 4;
    } else {
      app->Run();
    }
  } catch (const vlui::ExitToShellSignal& exit) {
    status = exit.status;
  } catch (const CException& e) {
    std::fprintf(log, "velmora: the application failed to start (error %d)\n", e.GetError());
    status = 4;
  } catch (const std::exception& e) {
    std::fprintf(log, "velmora: the application failed to start (%s)\n", e.what());
    status = 4;
  }
  app.reset();
  vlui::SetInteractive(false);
  vlui::SetEventSource(previousSource);
  vlui::SetClipboardHost(previousClipboard);
  vlui::ShutdownScreen();
  backend.Close();
  return status;
}

}  // namespace vlsdl
