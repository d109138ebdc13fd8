#include "platform/KeySymbols.h"

#include <X11/keysym.h>

#include <array>

namespace {

struct Entry
{
    quint32 keyCode;
    quint32 keysym;
    const char *name;
};

// Printable keys are their own Latin-1 key symbol.
constexpr Entry printable(quint32 keyCode, const char *name)
{
    return {keyCode, static_cast<unsigned char>(name[0]), name};
}

constexpr std::array entries{
    printable(0, "a"), printable(1, "s"), printable(2, "d"), printable(3, "f"),
    printable(4, "h"), printable(5, "g"), printable(6, "z"), printable(7, "x"),
    printable(8, "c"), printable(9, "v"), printable(11, "b"), printable(12, "q"),
    printable(13, "w"), printable(14, "e"), printable(15, "r"), printable(16, "y"),
    printable(17, "t"), printable(18, "1"), printable(19, "2"), printable(20, "3"),
    printable(21, "4"), printable(22, "6"), printable(23, "5"), Entry{24, XK_equal, "equal"},
    printable(25, "9"), printable(26, "7"), Entry{27, XK_minus, "minus"}, printable(28, "8"),
    printable(29, "0"), Entry{30, XK_bracketright, "bracketright"}, printable(31, "o"),
    printable(32, "u"), Entry{33, XK_bracketleft, "bracketleft"}, printable(34, "i"),
    printable(35, "p"), Entry{36, XK_Return, "Return"}, printable(37, "l"), printable(38, "j"),
    Entry{39, XK_apostrophe, "apostrophe"}, printable(40, "k"),
    Entry{41, XK_semicolon, "semicolon"}, Entry{42, XK_backslash, "backslash"},
    Entry{43, XK_comma, "comma"}, Entry{44, XK_slash, "slash"}, printable(45, "n"),
    printable(46, "m"), Entry{47, XK_period, "period"}, Entry{48, XK_Tab, "Tab"},
    Entry{49, XK_space, "space"}, Entry{50, XK_grave, "grave"},
    Entry{51, XK_BackSpace, "BackSpace"}, Entry{53, XK_Escape, "Escape"},
    Entry{96, XK_F5, "F5"}, Entry{97, XK_F6, "F6"}, Entry{98, XK_F7, "F7"},
    Entry{99, XK_F3, "F3"}, Entry{100, XK_F8, "F8"}, Entry{101, XK_F9, "F9"},
    Entry{103, XK_F11, "F11"}, Entry{109, XK_F10, "F10"}, Entry{111, XK_F12, "F12"},
    Entry{114, XK_Help, "Help"}, Entry{115, XK_Home, "Home"}, Entry{116, XK_Page_Up, "Page_Up"},
    Entry{117, XK_Delete, "Delete"}, Entry{118, XK_F4, "F4"}, Entry{119, XK_End, "End"},
    Entry{120, XK_F2, "F2"}, Entry{121, XK_Page_Down, "Page_Down"}, Entry{122, XK_F1, "F1"},
    Entry{123, XK_Left, "Left"}, Entry{124, XK_Right, "Right"}, Entry{125, XK_Down, "Down"},
    Entry{126, XK_Up, "Up"},
};

} // namespace

namespace KeySymbols {

std::optional<Symbol> forKeyCode(quint32 keyCode)
{
    for (const Entry &entry : entries) {
        if (entry.keyCode == keyCode)
            return Symbol{entry.keysym, QLatin1StringView(entry.name)};
    }
    return std::nullopt;
}

} // namespace KeySymbols
