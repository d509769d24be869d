// The seat's devices and their events. Only presses count: a key let go after the saver
// appeared (the one that started it) ends nothing, nor does the pointer entering a surface.
#include "wayland/SeatInput.h"

#include <linux/input-event-codes.h>
#include <unistd.h>
#include <wayland-client.h>

namespace {

SaverInput& InputOf(void* data) {
  return static_cast<SeatInput*>(data)->Input();
}

const wl_seat_listener kSeatListener = {
    [](void* data, wl_seat*, std::uint32_t capabilities) {
      static_cast<SeatInput*>(data)->Capabilities(capabilities);
    },
    [](void*, wl_seat*, const char*) {},
};

const wl_keyboard_listener kKeyboardListener = {
    // The keymap is not needed: any key ends the saver. Its descriptor is ours to close.
    [](void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) { close(fd); },
    [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
    [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t state) {
      if (state == WL_KEYBOARD_KEY_STATE_PRESSED) InputOf(data).KeyPressed();
    },
    [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t,
       std::uint32_t) {},
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
};

const wl_pointer_listener kPointerListener = {
    [](void*, wl_pointer*, std::uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_pointer*, std::uint32_t, wl_surface*) {},
    [](void* data, wl_pointer*, std::uint32_t, wl_fixed_t, wl_fixed_t) {
      InputOf(data).PointerMoved();
    },
    [](void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t button,
       std::uint32_t state) {
      if (state != WL_POINTER_BUTTON_STATE_PRESSED) return;
      InputOf(data).ButtonPressed(button == BTN_LEFT ? SaverInput::Button::Primary
                                                     : SaverInput::Button::Other);
    },
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
    [](void*, wl_pointer*) {},
    [](void*, wl_pointer*, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
    [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
};

const wl_touch_listener kTouchListener = {
    [](void* data, wl_touch*, std::uint32_t, std::uint32_t, wl_surface*, std::int32_t, wl_fixed_t,
       wl_fixed_t) { InputOf(data).Touched(); },
    [](void*, wl_touch*, std::uint32_t, std::uint32_t, std::int32_t) {},
    [](void*, wl_touch*, std::uint32_t, std::int32_t, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_touch*) {},
    [](void*, wl_touch*) {},
    [](void*, wl_touch*, std::int32_t, wl_fixed_t, wl_fixed_t) {},
    [](void*, wl_touch*, std::int32_t, wl_fixed_t) {},
};

// Devices bound at version 3 or later are released; older ones only destroyed.
template <typename Device>
void Release(Device*& device, void (*release)(Device*), void (*destroy)(Device*)) {
  if (device == nullptr) return;
  if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(device)) >= 3) {
    release(device);
  } else {
    destroy(device);
  }
  device = nullptr;
}

}  // namespace

SeatInput::SeatInput(wl_seat* seat, std::uint32_t name, SaverInput& input)
    : seat_(seat), name_(name), input_(input) {
  wl_seat_add_listener(seat_, &kSeatListener, this);
}

SeatInput::~SeatInput() {
  ReleaseKeyboard();
  ReleasePointer();
  ReleaseTouch();
  if (wl_seat_get_version(seat_) >= WL_SEAT_RELEASE_SINCE_VERSION) {
    wl_seat_release(seat_);
  } else {
    wl_seat_destroy(seat_);
  }
}

void SeatInput::Capabilities(std::uint32_t capabilities) {
  const bool keyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
  const bool pointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
  const bool touch = (capabilities & WL_SEAT_CAPABILITY_TOUCH) != 0;
  if (keyboard && keyboard_ == nullptr) {
    keyboard_ = wl_seat_get_keyboard(seat_);
    wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
  } else if (!keyboard) {
    ReleaseKeyboard();
  }
  if (pointer && pointer_ == nullptr) {
    pointer_ = wl_seat_get_pointer(seat_);
    wl_pointer_add_listener(pointer_, &kPointerListener, this);
  } else if (!pointer) {
    ReleasePointer();
  }
  if (touch && touch_ == nullptr) {
    touch_ = wl_seat_get_touch(seat_);
    wl_touch_add_listener(touch_, &kTouchListener, this);
  } else if (!touch) {
    ReleaseTouch();
  }
}

void SeatInput::ReleaseKeyboard() {
  Release(keyboard_, wl_keyboard_release, wl_keyboard_destroy);
}

void SeatInput::ReleasePointer() {
  Release(pointer_, wl_pointer_release, wl_pointer_destroy);
}

void SeatInput::ReleaseTouch() {
  Release(touch_, wl_touch_release, wl_touch_destroy);
}
