#include "ui/KeyCapture.h"

#include "platform/KeySymbols.h"

#include <array>
#include <string_view>
#include <utility>

namespace {

// The shifted symbols of a US keyboard and the keys they sit on.
constexpr std::string_view shifted = "!@#$%^&*()_+{}|:\"<>?~";
constexpr std::string_view unshifted = "1234567890-=[]\\;',./`";

constexpr std::array<std::pair<int, quint32>, 36> specialKeys{{
    {Qt::Key_Return, 36},   {Qt::Key_Enter, 36},     {Qt::Key_Tab, 48},      {Qt::Key_Backtab, 48},
    {Qt::Key_Backspace, 51}, {Qt::Key_Escape, 53},   {Qt::Key_Meta, 55},     {Qt::Key_Super_L, 55},
    {Qt::Key_Super_R, 54},  {Qt::Key_Shift, 56},     {Qt::Key_CapsLock, 57}, {Qt::Key_Alt, 58},
    {Qt::Key_AltGr, 61},    {Qt::Key_Control, 59},   {Qt::Key_Help, 114},    {Qt::Key_Home, 115},
    {Qt::Key_PageUp, 116},  {Qt::Key_Delete, 117},   {Qt::Key_End, 119},     {Qt::Key_PageDown, 121},
    {Qt::Key_Left, 123},    {Qt::Key_Right, 124},    {Qt::Key_Down, 125},    {Qt::Key_Up, 126},
    {Qt::Key_F1, 122},      {Qt::Key_F2, 120},       {Qt::Key_F3, 99},       {Qt::Key_F4, 118},
    {Qt::Key_F5, 96}, {Qt::Key_F6, 97}, {Qt::Key_F7, 98}, {Qt::Key_F8, 100},
    {Qt::Key_F9, 101}, {Qt::Key_F10, 109}, {Qt::Key_F11, 103}, {Qt::Key_F12, 111},
}};

// Printable keys are their own Latin-1 key symbol, lower case for letters.
std::optional<quint32> printableKeyCode(int qtKey)
{
    char symbol = char(qtKey);
    if (const size_t at = shifted.find(symbol); at != std::string_view::npos)
        symbol = unshifted[at];
    if (symbol >= 'A' && symbol <= 'Z')
        symbol = char(symbol - 'A' + 'a');
    for (quint32 code = 0; code <= 127; ++code) {
        const std::optional<KeySymbols::Symbol> known = KeySymbols::forKeyCode(code);
        if (known && known->keysym == quint32(static_cast<unsigned char>(symbol)))
            return code;
    }
    return std::nullopt;
}

} // namespace

namespace KeyCapture {

std::optional<quint32> keyCode(int qtKey)
{
    for (const auto &[key, code] : specialKeys) {
        if (key == qtKey)
            return code;
    }
    if (qtKey >= 0x20 && qtKey <= 0x7e)
        return printableKeyCode(qtKey);
    return std::nullopt;
}

KeyCombo::ModifierSet modifiers(Qt::KeyboardModifiers held)
{
    KeyCombo::ModifierSet result;
    if (held & Qt::ControlModifier)
        result.insert(KeyCombo::Modifier::control);
    if (held & Qt::AltModifier)
        result.insert(KeyCombo::Modifier::option);
    if (held & Qt::ShiftModifier)
        result.insert(KeyCombo::Modifier::shift);
    if (held & Qt::MetaModifier)
        result.insert(KeyCombo::Modifier::command);
    return result;
}

} // namespace KeyCapture
