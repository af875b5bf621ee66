#include "platform/qt/key_state.h"

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <QKeyEvent>

#include "platform/qt/x11_keymap.h"

namespace platform::qt {
namespace {

int VirtualKey(int qtKey) {
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F10) {
        return VK_F1 + (qtKey - Qt::Key_F1);
    }
    return 0;
}

}  // namespace

KeyStateReader::KeyStateReader() {
    // Under the offscreen platform the interface exists but has no display.
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        if (Display* shared = x11->display()) {
            display_ = x11::OpenOwnConnection(shared);
            ownsDisplay_ = display_ != nullptr;
            if (display_ == nullptr) {
                display_ = shared;
            }
        }
    }
    if (display_ != nullptr) {
        x11::ResolveFunctionKeys(display_, keycodes_);
    }
    qGuiApp->installEventFilter(this);
}

KeyStateReader::~KeyStateReader() {
    if (ownsDisplay_) {
        x11::CloseOwnConnection(display_);
    }
}

KeyState KeyStateReader::Query() const {
    KeyState state = own_;
    if (display_ != nullptr) {
        char keymap[32] = {};
        x11::QueryKeymap(display_, keymap);
        for (int i = 0; i < 10; ++i) {
            const unsigned code = keycodes_[i];
            if (code != 0 && (keymap[code / 8] >> (code % 8)) & 1) {
                state.Set(VK_F1 + i, true);
            }
        }
    }
    return state;
}

bool KeyStateReader::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        // Auto-repeat sends release and press pairs while the key stays down.
        if (!key->isAutoRepeat() && watched->isWindowType()) {
            if (const int vk = VirtualKey(key->key())) {
                own_.Set(vk, type == QEvent::KeyPress);
            }
        }
    } else if (type == QEvent::ApplicationDeactivate) {
        // A release that happens in another application never reaches us.
        own_ = {};
    }
    return false;
}

}  // namespace platform::qt
