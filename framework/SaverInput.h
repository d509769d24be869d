// What input ends a full-screen saver, as the Windows saver's form has it: any key, the
// primary button, a touch, or the sixth pointer move; never the pointer entering or leaving
// (a surface that appears under a still pointer gets an enter), nor the other buttons or the
// wheel. Portable: a platform reports each event here and asks Ended().
#pragma once

#include <cstdint>

class SaverInput {
public:
  enum class Button { Primary, Other };
  // Pointer moves tolerated before the saver ends.
  static constexpr std::int32_t kToleratedMoves = 5;

  void KeyPressed() { ended_ = true; }
  void ButtonPressed(Button button);
  void Touched() { ended_ = true; }
  void PointerMoved();
  // Whether the user has ended the saver.
  bool Ended() const { return ended_; }

private:
  std::int32_t moves_ = 0;
  bool ended_ = false;
};
