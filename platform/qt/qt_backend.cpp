#include "platform/qt/qt_backend.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <cstdio>
#include <cstring>

#include "platform/qt/accessibility.h"
#include "platform/qt/cp1252.h"
#include "platform/qt/qt_internal.h"

namespace platform::qt {
namespace {

struct QtFont {
    QFont font;
};

std::intptr_t TrayMouseMessage(QEvent::Type type, Qt::MouseButton button) {
    const int column = button == Qt::LeftButton ? 0 : button == Qt::RightButton ? 1 : 2;
    switch (type) {
        case QEvent::MouseButtonPress:
            return std::array{WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN}[column];
        case QEvent::MouseButtonRelease:
            return std::array{WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP}[column];
        case QEvent::MouseButtonDblClick:
            return std::array{WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK}[column];
        case QEvent::MouseMove:
            return WM_MOUSEMOVE;
        default:
            return 0;
    }
}

bool IsTrayIconWidget(const QObject* o) {
    // Qt's XEmbed tray icon: the one place its real button releases can be seen.
    return o->isWidgetType() &&
           std::strcmp(o->metaObject()->className(), "QSystemTrayIconSys") == 0;
}

// Seconds the notification area may be gone before a hidden window comes back by itself.
constexpr int kTrayGraceSeconds = 5;

}  // namespace

QtBackend::QtBackend(const ResourceModule& module) : module_(module) {
    // Debian has no "MS Shell Dlg"; Liberation Sans is metric-compatible with Arial.
    QFont::insertSubstitution(QStringLiteral("MS Shell Dlg"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    InstallAccessibility();
    qApp->installEventFilter(this);
    trayWatch_.setInterval(1000);
    connect(&trayWatch_, &QTimer::timeout, this, [this] { WatchTray(); });
}

QtBackend::~QtBackend() {
    qApp->removeEventFilter(this);
}

QFont QtBackend::DialogFont(const DialogTemplate& t) {
    QFont font(FromCp1252(t.face));
    // Points at the window system's 96 dots per inch, whatever the X server claims.
    font.setPixelSize(MulDiv(t.pointSize, 96, 72));
    return font;
}

std::unique_ptr<QtWindow> QtBackend::Open(Dialog& dialog, QtWindow* owner) {
    auto window = std::make_unique<QtWindow>(*this, dialog, owner);
    window->Build();
    dialog.Attach(window.get());
    const bool focusFirst = dialog.InitDialog();
    if (window->Ended()) {
        return window;
    }
    if (focusFirst) {
        for (const ControlTemplate& c : dialog.Template().controls) {
            if ((c.style & style::kTabStop) != 0 && c.id != kNoId) {
                window->SetFocus(c.id);
                break;
            }
        }
    }
    window->ShowInitially();
    return window;
}

int QtBackend::RunModal(Dialog& dialog, Window* owner) {
    auto window = Open(dialog, static_cast<QtWindow*>(owner));
    const int result = window->Exec();
    window->Widget()->hide();
    dialog.Attach(nullptr);
    window.reset();
    if (owner != nullptr) {
        static_cast<QtWindow*>(owner)->Widget()->activateWindow();
    }
    return result;
}

int QtBackend::MessageBox(Window* owner, std::string_view text, unsigned type) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (type & 0xF0U) {
        case 0x10:
            icon = QMessageBox::Critical;
            break;
        case 0x20:
            icon = QMessageBox::Question;
            break;
        case 0x30:
            icon = QMessageBox::Warning;
            break;
        case 0x40:
            icon = QMessageBox::Information;
            break;
        default:
            break;
    }
    QWidget* parent = owner != nullptr ? static_cast<QtWindow*>(owner)->Widget() : nullptr;
    const QString caption = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    QMessageBox box(icon, caption, FromCp1252(text), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return IDOK;
}

FontHandle QtBackend::CreateFont(const FontRequest& request) {
    QFont font(FromCp1252(request.face));
    font.setWeight(static_cast<QFont::Weight>(
        request.weight > 0 ? std::clamp(request.weight, 100, 900) : 400));
    font.setItalic(request.italic);
    font.setUnderline(request.underline);
    font.setStrikeOut(request.strikeOut);
    if (request.height < 0) {
        font.setPixelSize(-request.height);
    } else if (request.height > 0) {
        // A positive height is the cell height: ascent plus descent, in pixels.
        int pixels = request.height;
        font.setPixelSize(pixels);
        const int cell = QFontMetrics(font).height();
        if (cell > 0) {
            pixels = std::max(1, (request.height * request.height + cell / 2) / cell);
            font.setPixelSize(pixels);
            while (pixels > 1 && QFontMetrics(font).height() > request.height) {
                font.setPixelSize(--pixels);
            }
        }
    }
    return reinterpret_cast<FontHandle>(new QtFont{font});
}

void QtBackend::DeleteFont(FontHandle font) {
    delete reinterpret_cast<QtFont*>(font);
}

QFont QtBackend::FontOf(FontHandle font) {
    return reinterpret_cast<QtFont*>(font)->font;
}

IconHandle QtBackend::LoadIcon(int resource, int cx, int cy) {
    auto& slot = icons_[{resource, cx, cy}];
    if (slot == nullptr) {
        const auto png = module_.Picture(resource);
        auto pixmap = std::make_unique<QPixmap>();
        pixmap->loadFromData(png.data(), static_cast<uint>(png.size()), "PNG");
        if (cx > 0 && cy > 0 && pixmap->size() != QSize(cx, cy)) {
            *pixmap = pixmap->scaled(cx, cy, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        slot = std::move(pixmap);
    }
    return reinterpret_cast<IconHandle>(slot.get());
}

const QPixmap& QtBackend::Pixmap(IconHandle icon) {
    return *reinterpret_cast<QPixmap*>(icon);
}

std::size_t QtBackend::LoadString(int id, char* buffer, std::size_t size) {
    const std::string_view text = module_.String(id);
    if (size == 0) {
        return 0;
    }
    const std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

bool QtBackend::AddTrayIcon(Window& owner, int id, unsigned callbackMessage, IconHandle icon,
                            std::string_view tip) {
    auto* window = static_cast<QtWindow*>(&owner);
    for (const TrayEntry& e : tray_) {
        if (e.owner == window && e.id == id) {
            return false;
        }
    }
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        return false;
    }
    auto trayIcon = std::make_unique<QSystemTrayIcon>();
    trayIcon->setObjectName(QStringLiteral("trayIcon"));
    if (icon != nullptr) {
        trayIcon->setIcon(QIcon(Pixmap(icon)));
    }
    // The tip holds at most 63 characters.
    trayIcon->setToolTip(FromCp1252(tip.substr(0, 63)));
    connect(trayIcon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                // Where Qt's own embedded icon is in use, its real button events count.
                if (trayWidgetSeen_) {
                    return;
                }
                std::intptr_t message = 0;
                switch (reason) {
                    case QSystemTrayIcon::Trigger:
                        message = WM_LBUTTONUP;
                        break;
                    case QSystemTrayIcon::Context:
                        message = WM_RBUTTONUP;
                        break;
                    case QSystemTrayIcon::MiddleClick:
                        message = WM_MBUTTONUP;
                        break;
                    case QSystemTrayIcon::DoubleClick:
                        message = WM_LBUTTONDBLCLK;
                        break;
                    default:
                        return;
                }
                QMetaObject::invokeMethod(
                    this, [this, message] { TrayMouse(message); }, Qt::QueuedConnection);
            });
    trayIcon->show();
    tray_.push_back({std::move(trayIcon), window, id, callbackMessage});
    trayMissingSeconds_ = 0;
    trayWatch_.start();
    return true;
}

bool QtBackend::DeleteTrayIcon(Window& owner, int id) {
    auto* window = static_cast<QtWindow*>(&owner);
    for (auto it = tray_.begin(); it != tray_.end(); ++it) {
        if (it->owner == window && it->id == id) {
            // We may be inside one of the icon's own events: let Qt delete it later.
            it->icon->hide();
            it->icon.release()->deleteLater();
            tray_.erase(it);
            if (tray_.empty()) {
                trayWatch_.stop();
            }
            return true;
        }
    }
    return false;
}

void QtBackend::TrayMouse(std::intptr_t mouseMessage) {
    if (tray_.empty()) {
        return;
    }
    const TrayEntry& e = tray_.front();
    e.owner->Dispatch({Msg::User, 0, static_cast<int>(e.callbackMessage),
                       static_cast<std::uintptr_t>(e.id), mouseMessage});
}

void QtBackend::WatchTray() {
    if (tray_.empty()) {
        trayWatch_.stop();
        return;
    }
    // A notification area that went away and stays away would leave a hidden window with
    // no way back: bring it back as a click on the icon would.
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        trayMissingSeconds_ = 0;
    } else if (++trayMissingSeconds_ >= kTrayGraceSeconds) {
        trayMissingSeconds_ = 0;
        TrayMouse(WM_LBUTTONUP);
    }
}

bool QtBackend::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && watched->isWidgetType()) {
        auto* dialog = dynamic_cast<DialogWidget*>(static_cast<QWidget*>(watched)->window());
        if (dialog == nullptr) {
            return false;
        }
        QtWindow& window = dialog->Owner();
        auto* key = static_cast<QKeyEvent*>(event);
        const auto mods = key->modifiers() & ~Qt::KeypadModifier;
        switch (key->key()) {
            case Qt::Key_F1:
                // The help request: only the active window gets it.
                if (QApplication::activeWindow() == dialog) {
                    window.Dispatch({Msg::Help});
                }
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if ((mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
                    return false;
                }
                window.PressEnter();
                return true;
            case Qt::Key_Escape:
                window.Dispatch({Msg::Command, IDCANCEL, BN_CLICKED});
                return true;
            case Qt::Key_Menu:
                window.ShowSystemMenu(dialog->mapToGlobal(QPoint(0, 0)));
                return true;
            case Qt::Key_Space:
                if (mods == Qt::AltModifier) {
                    window.ShowSystemMenu(dialog->mapToGlobal(QPoint(0, 0)));
                    return true;
                }
                return false;
            default:
                return false;
        }
    }
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove) &&
        IsTrayIconWidget(watched)) {
        trayWidgetSeen_ = true;
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const std::intptr_t message = TrayMouseMessage(type, mouse->button());
        if (message != 0) {
            // Posted, as the notification area posts it: never inside the icon's event.
            QMetaObject::invokeMethod(
                this, [this, message] { TrayMouse(message); }, Qt::QueuedConnection);
        }
    }
    return false;
}

int RunApplication(int argc, char** argv, App& app, const ResourceModule& module) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        if (qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            std::fprintf(stderr,
                         "velmora: keine grafische Anzeige gefunden (DISPLAY ist nicht "
                         "gesetzt).\n");
            return 1;
        }
        // F2 to F10 from any application need the X server's keymap: prefer X11 (also
        // through XWayland) wherever it is there.
        if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
            qputenv("QT_QPA_PLATFORM", "xcb");
        }
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QtBackend backend(module);
    return app.Run(backend);
}

}  // namespace platform::qt
