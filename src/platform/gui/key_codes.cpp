#include "platform/gui/key_codes.h"

#include <Qt>
#include <array>

namespace tv {

namespace {

struct KeyPair {
    int qt;
    uint16_t vk;
};

// Keys whose numbers differ; letters, digits and function keys follow by rule below.
constexpr std::array<KeyPair, 44> kKeys{{
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},       {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},  {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},      {Qt::Key_Pause, 0x13},
    {Qt::Key_CapsLock, 0x14},      {Qt::Key_Escape, VK_ESCAPE}, {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT}, {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},     {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},     {Qt::Key_Print, 0x2C},
    {Qt::Key_Insert, VK_INSERT},   {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Help, 0x2F},
    {Qt::Key_Meta, 0x5B},          {Qt::Key_Menu, 0x5D},        {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},    {Qt::Key_Semicolon, 0xBA},   {Qt::Key_Colon, 0xBA},
    {Qt::Key_Equal, 0xBB},         {Qt::Key_Plus, 0xBB},        {Qt::Key_Comma, 0xBC},
    {Qt::Key_Less, 0xBC},          {Qt::Key_Minus, 0xBD},       {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE},        {Qt::Key_Greater, 0xBE},     {Qt::Key_Slash, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0},     {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC},
    {Qt::Key_BracketRight, 0xDD},  {Qt::Key_Apostrophe, 0xDE},
}};

// Keypad keys: digits 0x60.., then * + (separator) - . /
constexpr std::array<KeyPair, 6> kKeypadOperators{{
    {Qt::Key_Asterisk, 0x6A},
    {Qt::Key_Plus, 0x6B},
    {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},
    {Qt::Key_Comma, 0x6E},
    {Qt::Key_Slash, 0x6F},
}};

}  // namespace

uint16_t VirtualKeyFromQt(int qtKey, bool keypad) {
    if (keypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<uint16_t>(0x60 + qtKey - Qt::Key_0);
        for (const KeyPair& k : kKeypadOperators)
            if (k.qt == qtKey) return k.vk;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<uint16_t>('A' + qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<uint16_t>('0' + qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<uint16_t>(VK_F1 + qtKey - Qt::Key_F1);
    for (const KeyPair& k : kKeys)
        if (k.qt == qtKey) return k.vk;
    return 0;
}

int QtKeyFromVirtualKey(uint16_t key) {
    if (key >= 'A' && key <= 'Z') return Qt::Key_A + (key - 'A');
    if (key >= '0' && key <= '9') return Qt::Key_0 + (key - '0');
    if (key >= 0x60 && key <= 0x69) return Qt::Key_0 + (key - 0x60);
    if (key >= VK_F1 && key < VK_F1 + 24) return Qt::Key_F1 + (key - VK_F1);
    for (const KeyPair& k : kKeypadOperators)
        if (k.vk == key) return k.qt;
    for (const KeyPair& k : kKeys)
        if (k.vk == key) return k.qt;
    return 0;
}

}  // namespace tv
