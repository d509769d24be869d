// What ends the full-screen saver on Wayland: the Windows saver's rule of keys, clicks,
// touches and the sixth move.
#include "framework/SaverInput.h"

#include <gtest/gtest.h>

namespace {

TEST(SaverInput, AKeyALeftClickOrATouchEndsTheSaver) {
  SaverInput key, click, touch;
  key.KeyPressed();
  click.ButtonPressed(SaverInput::Button::Primary);
  touch.Touched();
  EXPECT_TRUE(key.Ended());
  EXPECT_TRUE(click.Ended());
  EXPECT_TRUE(touch.Ended());
}

TEST(SaverInput, FiveMovesAndOtherButtonsLeaveItOpenTheSixthMoveEndsIt) {
  SaverInput input;
  input.ButtonPressed(SaverInput::Button::Other);
  for (int move = 1; move <= 5; ++move) {
    input.PointerMoved();
    EXPECT_FALSE(input.Ended()) << "move " << move;
  }
  input.PointerMoved();
  EXPECT_TRUE(input.Ended());
}

}  // namespace
