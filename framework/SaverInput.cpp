// The full-screen saver's input rule.
#include "framework/SaverInput.h"

void SaverInput::ButtonPressed(Button button) {
  if (button == Button::Primary) ended_ = true;
}

void SaverInput::PointerMoved() {
  if (moves_ <= kToleratedMoves) ++moves_;
  if (moves_ > kToleratedMoves) ended_ = true;
}
