#include "platform/X11HotKeys.h"

#include "platform/DebugLog.h"
#include "platform/KeySymbols.h"

#include <QCoreApplication>
#include <QMetaObject>

#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter {
    void operator()(void *pointer) const { std::free(pointer); }
};
template <typename T>
using Owned = std::unique_ptr<T, FreeDeleter>;

struct KeySymbolTable {
    void operator()(xcb_key_symbols_t *symbols) const { xcb_key_symbols_free(symbols); }
};
using KeySymbolsPointer = std::unique_ptr<xcb_key_symbols_t, KeySymbolTable>;

struct ModifierMasks {
    quint16 alt = XCB_MOD_MASK_1;
    quint16 super = XCB_MOD_MASK_4;
    quint16 numLock = 0;
    quint16 scrollLock = 0;
};

xcb_window_t defaultRoot(xcb_connection_t *connection)
{
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0)
        screen = 0;
    std::free(host);
    xcb_screen_iterator_t roots = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screen && roots.rem > 1; ++i)
        xcb_screen_next(&roots);
    return roots.rem > 0 ? roots.data->root : xcb_window_t(XCB_WINDOW_NONE);
}

QList<quint8> keyCodesOf(xcb_key_symbols_t *symbols, xcb_keysym_t keysym)
{
    QList<quint8> codes;
    const Owned<xcb_keycode_t> found(xcb_key_symbols_get_keycode(symbols, keysym));
    for (const xcb_keycode_t *code = found.get(); code && *code != XCB_NO_SYMBOL; ++code)
        codes.append(*code);
    return codes;
}

// Alt, Super and the lock keys sit on whichever of Mod1..Mod5 the keyboard map puts them.
ModifierMasks modifierMasks(xcb_connection_t *connection, xcb_key_symbols_t *symbols)
{
    ModifierMasks masks;
    const Owned<xcb_get_modifier_mapping_reply_t> mapping(xcb_get_modifier_mapping_reply(
        connection, xcb_get_modifier_mapping(connection), nullptr));
    if (!mapping)
        return masks;
    const xcb_keycode_t *codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const int perModifier = mapping->keycodes_per_modifier;
    const auto maskOf = [&](xcb_keysym_t keysym) -> quint16 {
        const QList<quint8> wanted = keyCodesOf(symbols, keysym);
        for (int modifier = 0; modifier < 8; ++modifier) {
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t code = codes[modifier * perModifier + i];
                if (code != 0 && wanted.contains(code))
                    return quint16(1u << modifier);
            }
        }
        return 0;
    };
    if (const quint16 alt = maskOf(XK_Alt_L))
        masks.alt = alt;
    if (const quint16 super = maskOf(XK_Super_L))
        masks.super = super;
    masks.numLock = maskOf(XK_Num_Lock);
    masks.scrollLock = maskOf(XK_Scroll_Lock);
    return masks;
}

quint16 modifiersOf(const KeyCombo &combo, const ModifierMasks &masks)
{
    quint16 bits = 0;
    for (const KeyCombo::Modifier modifier : combo.modifiers()) {
        switch (modifier) {
        case KeyCombo::Modifier::control: bits |= XCB_MOD_MASK_CONTROL; break;
        case KeyCombo::Modifier::option: bits |= masks.alt; break;
        case KeyCombo::Modifier::shift: bits |= XCB_MOD_MASK_SHIFT; break;
        case KeyCombo::Modifier::command: bits |= masks.super; break;
        }
    }
    return bits;
}

// Every combination of the lock keys the keyboard has, the empty one first.
QList<quint16> lockVariants(const ModifierMasks &masks)
{
    QList<quint16> variants{0};
    for (const quint16 lock : {quint16(XCB_MOD_MASK_LOCK), masks.numLock, masks.scrollLock}) {
        if (lock == 0)
            continue;
        for (qsizetype i = 0, count = variants.size(); i < count; ++i)
            variants.append(variants.at(i) | lock);
    }
    return variants;
}

} // namespace

X11HotKeys::X11HotKeys(xcb_connection_t *connection, QObject *parent)
    : HotKeyService(parent)
    , m_connection(connection)
    , m_root(defaultRoot(connection))
{
}

X11HotKeys::~X11HotKeys()
{
    unregisterAll();
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11HotKeys::registerHotKeys(const QList<HotKey> &hotKeys)
{
    unregisterAll();
    installFilter();
    const KeySymbolsPointer symbols(xcb_key_symbols_alloc(m_connection));
    const ModifierMasks masks = modifierMasks(m_connection, symbols.get());
    const QList<quint16> locks = lockVariants(masks);
    m_relevantModifiers = quint16(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT) | masks.alt | masks.super;
    QList<quint32> registered;
    for (const HotKey &hotKey : hotKeys) {
        const std::optional<KeySymbols::Symbol> symbol = KeySymbols::forKeyCode(hotKey.combo.keyCode());
        if (!symbol)
            continue;
        const QList<Grab> grabs = grab(hotKey.id, keyCodesOf(symbols.get(), symbol->keysym),
                                       modifiersOf(hotKey.combo, masks), locks);
        if (grabs.isEmpty())
            continue;
        m_grabs.append(grabs);
        registered.append(hotKey.id);
    }
    xcb_flush(m_connection);
    Q_EMIT answered(registered);
}

void X11HotKeys::unregisterAll()
{
    for (const Grab &each : std::as_const(m_grabs))
        ungrab(each);
    if (!m_grabs.isEmpty())
        xcb_flush(m_connection);
    m_grabs.clear();
    m_heldKey = 0;
}

void X11HotKeys::installFilter()
{
    if (m_filterInstalled || !QCoreApplication::instance())
        return;
    QCoreApplication::instance()->installNativeEventFilter(this);
    m_filterInstalled = true;
}

QList<X11HotKeys::Grab> X11HotKeys::grab(quint32 id, const QList<quint8> &keyCodes,
                                          quint16 modifiers, const QList<quint16> &lockVariants)
{
    QList<Grab> grabs;
    QList<xcb_void_cookie_t> cookies;
    for (const quint8 keyCode : keyCodes) {
        for (const quint16 locks : lockVariants) {
            grabs.append({id, keyCode, modifiers, locks});
            cookies.append(xcb_grab_key_checked(m_connection, 0, m_root, modifiers | locks, keyCode,
                                                XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        }
    }
    // The first check waits for the server once; the later ones find their answers there.
    QList<Grab> made;
    bool refused = grabs.isEmpty();
    for (qsizetype i = 0; i < cookies.size(); ++i) {
        const Owned<xcb_generic_error_t> error(xcb_request_check(m_connection, cookies.at(i)));
        if (error) {
            // 10 (BadAccess): another client holds this grab.
            DebugLog::grab(QStringLiteral("hot key %1 refused: X error %2").arg(id).arg(error->error_code));
            refused = true;
        } else
            made.append(grabs.at(i));
    }
    if (!refused)
        return made;
    for (const Grab &each : std::as_const(made))
        ungrab(each);
    return {};
}

void X11HotKeys::ungrab(const Grab &grab)
{
    xcb_ungrab_key(m_connection, grab.keyCode, m_root, grab.modifiers | grab.locks);
}

bool X11HotKeys::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || m_grabs.isEmpty())
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Press and release events share one layout.
    const auto *key = reinterpret_cast<const xcb_key_press_event_t *>(event);
    if (key->event != m_root)
        return false;
    if (type == XCB_KEY_RELEASE) {
        if (key->detail == m_heldKey) {
            m_heldKey = 0;
            m_releaseTime = key->time;
        }
        return false;
    }
    const quint16 state = key->state & m_relevantModifiers;
    for (const Grab &each : std::as_const(m_grabs)) {
        if (each.keyCode != key->detail || each.modifiers != state)
            continue;
        // A hot key fires once however long it is held. The server repeats a held key's
        // press, with a release of the same time stamp in between unless the client asked
        // for detectable auto-repeat.
        const bool repeated = m_heldKey == key->detail
                              || (m_heldKey == 0 && m_lastKey == key->detail && m_releaseTime == key->time);
        m_heldKey = m_lastKey = key->detail;
        if (repeated)
            return true;
        // The action may open or hide windows: run it after the event filter returns.
        QMetaObject::invokeMethod(
            this, [this, id = each.id] { Q_EMIT activated(id); }, Qt::QueuedConnection);
        return true;
    }
    return false;
}
