// The few Xlib calls we need, kept apart: Xlib's macros clash with Qt's names.
#pragma once

using Display = struct _XDisplay;

namespace platform::qt::x11 {

// A connection of our own to the server `shared` is connected to; nullptr on failure.
// Polling the keymap on it costs a quarter of what it costs on Qt's connection, where
// every reply also wakes Qt's event-reader thread.
Display* OpenOwnConnection(Display* shared);
void CloseOwnConnection(Display* display);

// The keycode of F1 + i for i in 0..9; 0 where the keyboard has none.
void ResolveFunctionKeys(Display* display, unsigned char (&keycodes)[10]);
// One round trip: the state of every key of the X server's keyboard.
void QueryKeymap(Display* display, char (&keymap)[32]);

}  // namespace platform::qt::x11
