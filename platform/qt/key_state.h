// The state of F1 to F10 for the whole system: on X11 one keymap query per call, which
// sees the keys whichever application has the focus; elsewhere (offscreen, Wayland) the
// keys pressed in our own windows.
#pragma once

#include <QObject>

#include "platform/keys.h"

using Display = struct _XDisplay;

namespace platform::qt {

class KeyStateReader : public QObject {
  public:
    KeyStateReader();
    ~KeyStateReader() override;
    KeyStateReader(const KeyStateReader&) = delete;
    KeyStateReader& operator=(const KeyStateReader&) = delete;
    KeyState Query() const;
    bool HasGlobalState() const { return display_ != nullptr; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    Display* display_ = nullptr;
    bool ownsDisplay_ = false;
    unsigned char keycodes_[10] = {};  // F1 to F10, resolved once
    KeyState own_;                     // pressed in our own windows
};

}  // namespace platform::qt
