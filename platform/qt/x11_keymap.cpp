#include "platform/qt/x11_keymap.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

namespace platform::qt::x11 {

Display* OpenOwnConnection(Display* shared) {
    return XOpenDisplay(XDisplayString(shared));
}

void CloseOwnConnection(Display* display) {
    XCloseDisplay(display);
}

void ResolveFunctionKeys(Display* display, unsigned char (&keycodes)[10]) {
    for (int i = 0; i < 10; ++i) {
        keycodes[i] =
            static_cast<unsigned char>(XKeysymToKeycode(display, static_cast<KeySym>(XK_F1 + i)));
    }
}

void QueryKeymap(Display* display, char (&keymap)[32]) {
    XQueryKeymap(display, keymap);
}

}  // namespace platform::qt::x11
