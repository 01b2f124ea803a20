#pragma once
// Key codes as the class library's key events carry them (the platform's virtual-key numbers), and
// their translation from and to the toolkit's keys.

#include <cstdint>

namespace tv {

inline constexpr uint16_t VK_BACK = 0x08;
inline constexpr uint16_t VK_TAB = 0x09;
inline constexpr uint16_t VK_RETURN = 0x0D;
inline constexpr uint16_t VK_SHIFT = 0x10;
inline constexpr uint16_t VK_CONTROL = 0x11;
inline constexpr uint16_t VK_MENU = 0x12;
inline constexpr uint16_t VK_ESCAPE = 0x1B;
inline constexpr uint16_t VK_SPACE = 0x20;
inline constexpr uint16_t VK_PRIOR = 0x21;
inline constexpr uint16_t VK_NEXT = 0x22;
inline constexpr uint16_t VK_END = 0x23;
inline constexpr uint16_t VK_HOME = 0x24;
inline constexpr uint16_t VK_LEFT = 0x25;
inline constexpr uint16_t VK_UP = 0x26;
inline constexpr uint16_t VK_RIGHT = 0x27;
inline constexpr uint16_t VK_DOWN = 0x28;
inline constexpr uint16_t VK_INSERT = 0x2D;
inline constexpr uint16_t VK_DELETE = 0x2E;
inline constexpr uint16_t VK_F1 = 0x70;

// The virtual-key number of a toolkit key (keypad digits and operators have their own); 0 for a
// key without one.
uint16_t VirtualKeyFromQt(int qtKey, bool keypad);
// The toolkit key of a virtual-key number; 0 for none.
int QtKeyFromVirtualKey(uint16_t key);

}  // namespace tv
