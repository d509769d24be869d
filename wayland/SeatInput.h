// A seat's keyboard, pointer and touch, bound whenever its capabilities change (a headless
// compositor may start with none), each event reported to the saver's input rule.
#pragma once

#include <cstdint>

#include "framework/SaverInput.h"

struct wl_keyboard;
struct wl_pointer;
struct wl_seat;
struct wl_touch;

class SeatInput {
public:
  // Takes the seat (the registry's global `name`) and listens to it.
  SeatInput(wl_seat* seat, std::uint32_t name, SaverInput& input);
  // Releases the devices and the seat.
  ~SeatInput();
  SeatInput(const SeatInput&) = delete;
  SeatInput& operator=(const SeatInput&) = delete;

  std::uint32_t Name() const { return name_; }
  SaverInput& Input() { return input_; }
  // The seat's devices now: binds the new ones, releases those gone.
  void Capabilities(std::uint32_t capabilities);

private:
  void ReleaseKeyboard();
  void ReleasePointer();
  void ReleaseTouch();

  wl_seat* seat_;
  std::uint32_t name_;
  SaverInput& input_;
  wl_keyboard* keyboard_ = nullptr;
  wl_pointer* pointer_ = nullptr;
  wl_touch* touch_ = nullptr;
};
