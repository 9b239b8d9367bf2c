// Qt keys as the Windows virtual-key codes and shift states the window's handlers take.
#pragma once

#include <Qt>

namespace zandrel {

// The virtual-key code of a key, or 0 for a key without one here. The numeric keypad's keys
// have their own codes (106 multiply, 107 add, 109 subtract).
int VirtualKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// 1 Shift, 2 Ctrl, 4 Alt, added together.
int ShiftState(Qt::KeyboardModifiers modifiers);

} // namespace zandrel
