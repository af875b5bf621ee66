#include <cmath>

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include "platform/qt/accessibility.h"
#include "platform/qt/cp1252.h"
#include "platform/qt/qt_internal.h"

namespace platform::qt {
namespace {

// Marks a list that is being changed by program: it must not notify.
constexpr const char* kQuiet = "velmoraQuiet";
// The caption as the template gives it, before a multi-line button wraps it.
constexpr const char* kCaption = "velmoraCaption";

// Breaks a caption into lines that fit the width, at blanks, as a multi-line button does.
QString Wrap(const QString& caption, const QFontMetrics& fm, int width) {
    QString out;
    QString line;
    for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && fm.horizontalAdvance(candidate) > width) {
            out += (out.isEmpty() ? QString() : QStringLiteral("\n")) + line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty()) {
        out += (out.isEmpty() ? QString() : QStringLiteral("\n")) + line;
    }
    return out;
}

bool IsQuiet(const QObject* o) {
    return o->property(kQuiet).toBool();
}

// Runs f with the list marked as changed by program.
template <typename F>
void Quietly(QComboBox* box, F f) {
    const bool was = IsQuiet(box);
    box->setProperty(kQuiet, true);
    f();
    box->setProperty(kQuiet, was);
}

}  // namespace

DialogWidget::DialogWidget(QtWindow& window, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), window_(window) {}

void DialogWidget::paintEvent(QPaintEvent*) {
    window_.Paint();
}

void DialogWidget::timerEvent(QTimerEvent* event) {
    window_.Timer(event->timerId());
}

void DialogWidget::closeEvent(QCloseEvent* event) {
    // The window ends only through its own commands; a window behind a modal box
    // takes no close request at all.
    event->ignore();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal != this) {
        return;
    }
    const QPoint at = QCursor::pos();
    window_.Dispatch({Msg::SysCommand, 0, 0, SC_CLOSE,
                      static_cast<std::intptr_t>((at.x() & 0xFFFF) | (at.y() & 0xFFFF) << 16)});
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
    window_.ShowSystemMenu(event->globalPos());
    event->accept();
}

QtWindow::QtWindow(QtBackend& backend, Dialog& dialog, QtWindow* owner)
    : backend_(backend), dialog_(dialog), owner_(owner) {}

QtWindow::~QtWindow() {
    for (auto& [id, timer] : timers_) {
        timer.stop();
    }
    painter_.reset();
    systemMenu_.reset();
    widget_.reset();
}

void QtWindow::Build() {
    const DialogTemplate& t = Template();
    const bool popupOfOwner = owner_ != nullptr;
    Qt::WindowFlags flags = popupOfOwner ? Qt::Dialog : Qt::Window;
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if ((t.style & style::kSysMenu) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    if ((t.style & style::kMinimizeBox) != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if ((t.style & style::kMaximizeBox) != 0) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    widget_ =
        std::make_unique<DialogWidget>(*this, popupOfOwner ? owner_->Widget() : nullptr, flags);
    widget_->setObjectName(QStringLiteral("IDD_%1").arg(t.id));
    widget_->setWindowTitle(FromCp1252(t.caption));
    widget_->setAccessibleName(FromCp1252(t.caption));

    const QFont font = QtBackend::DialogFont(t);
    widget_->setFont(font);
    // The cell height as the window system counts it: ascent and descent each rounded up
    // (Qt rounds them to nearest, which makes every dialog 8 % shorter).
    const QFontMetricsF fm(font);
    const auto cell = static_cast<int>(std::ceil(fm.ascent()) + std::ceil(fm.descent()));
    units_ = BaseUnitsFromMetrics(qRound(fm.horizontalAdvance(QStringLiteral(
                                      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))),
                                  cell);

    const PixelRect client = DluToPixels(t.rect, units_);
    if ((t.style & style::kThickFrame) != 0) {
        widget_->resize(client.width, client.height);
    } else {
        widget_->setFixedSize(client.width, client.height);
    }

    QWidget* previousTabStop = nullptr;
    for (const ControlTemplate& c : t.controls) {
        QWidget* w = CreateControl(c);
        if (c.id != kNoId) {
            controls_[c.id] = w;
        }
        if ((c.style & style::kTabStop) != 0) {
            if (previousTabStop != nullptr) {
                QWidget::setTabOrder(previousTabStop, w);
            }
            previousTabStop = w;
        }
    }

    if ((t.style & style::kSysMenu) != 0) {
        systemMenu_ = std::make_unique<QMenu>(widget_.get());
        systemMenu_->setObjectName(QStringLiteral("systemMenu"));
        const bool sizable = (t.style & (style::kMinimizeBox | style::kMaximizeBox)) != 0;
        if (sizable) {
            AddSystemMenuAction(SC_RESTORE, QStringLiteral("Wiederherstellen"));
        }
        if ((t.style & style::kMinimizeBox) != 0) {
            AddSystemMenuAction(SC_MINIMIZE, QStringLiteral("Minimieren"));
        }
        if ((t.style & style::kMaximizeBox) != 0) {
            AddSystemMenuAction(SC_MAXIMIZE, QStringLiteral("Maximieren"));
        }
        if (sizable) {
            systemMenu_->addSeparator();
        }
        AddSystemMenuAction(SC_CLOSE, QStringLiteral("Schlie\u00dfen\tAlt+F4"));
        QObject::connect(systemMenu_.get(), &QMenu::aboutToShow, widget_.get(), [this] {
            const bool minimized = widget_->isMinimized();
            const bool maximized = widget_->isMaximized();
            for (QAction* a : systemMenu_->actions()) {
                switch (a->data().toUInt()) {
                    case SC_RESTORE:
                        a->setEnabled(minimized || maximized);
                        break;
                    case SC_MINIMIZE:
                        a->setEnabled(!minimized);
                        break;
                    case SC_MAXIMIZE:
                        a->setEnabled(!maximized);
                        break;
                    default:
                        break;
                }
            }
        });
    }
}

QWidget* QtWindow::CreateControl(const ControlTemplate& c) {
    const PixelRect r = DluToPixels(c.rect, units_);
    const QString caption = FromCp1252(c.caption);
    const bool tabStop = (c.style & style::kTabStop) != 0;
    const Qt::FocusPolicy focus = tabStop ? Qt::StrongFocus : Qt::ClickFocus;
    QWidget* parent = widget_.get();
    QWidget* w = nullptr;
    bool opaque = true;
    QRect geometry(r.x, r.y, r.width, r.height);

    switch (c.cls) {
        case WindowClass::Button: {
            const auto type = c.style & style::kButtonTypeMask;
            if (type == style::kRadioButton) {
                auto* b = new PlainRadioButton(caption, parent);
                b->setAutoExclusive(false);
                b->setFocusPolicy(focus);
                QObject::connect(b, &QAbstractButton::clicked, b, [this, id = c.id] {
                    Dispatch({Msg::Command, id, BN_CLICKED});
                });
                w = b;
            } else if (type == style::kGroupBox) {
                auto* g = new QGroupBox(caption, parent);
                // An etched frame with the title on its top line, on the dialog's background.
                g->setStyleSheet(QStringLiteral(
                    "QGroupBox { border: 1px solid palette(mid); border-radius: 2px;"
                    " margin-top: 0.5em; }"
                    "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
                // A frame drawn around other controls: it must not take their clicks.
                g->setAttribute(Qt::WA_TransparentForMouseEvents);
                g->setFocusPolicy(Qt::NoFocus);
                g->lower();
                opaque = false;
                w = g;
            } else {
                auto* b = new QPushButton(parent);
                b->setProperty(kCaption, caption);
                b->setText((c.style & style::kButtonMultiLine) != 0
                               ? Wrap(caption, QFontMetrics(widget_->font()), r.width - 8)
                               : caption);
                // Enter is the dialog's to route, not Qt's auto-default button's.
                b->setAutoDefault(false);
                b->setDefault(false);
                b->setFocusPolicy(focus);
                QObject::connect(b, &QAbstractButton::clicked, b, [this, id = c.id] {
                    Dispatch({Msg::Command, id, BN_CLICKED});
                });
                w = b;
            }
            break;
        }
        case WindowClass::Edit: {
            auto* e = new QLineEdit(caption, parent);
            e->setReadOnly((c.style & style::kEditReadOnly) != 0);
            // A single-line edit of the window system draws its text from the top.
            e->setAlignment(
                ((c.style & style::kEditCenter) != 0 ? Qt::AlignHCenter : Qt::AlignLeft) |
                Qt::AlignTop);
            e->setFrame(false);
            e->setFocusPolicy(focus);
            if (e->isReadOnly()) {
                // A read-only field stands on the dialog's own background.
                QPalette p = e->palette();
                p.setColor(QPalette::Base, p.color(QPalette::Window));
                e->setPalette(p);
            }
            w = e;
            break;
        }
        case WindowClass::ComboBox: {
            auto* box = new QComboBox(parent);
            box->setFocusPolicy(focus);
            // The template's height includes the dropped-down list.
            const int closed = box->sizeHint().height();
            const int itemHeight = QFontMetrics(widget_->font()).height() + 2;
            box->setMaxVisibleItems(std::max(1, (r.height - closed) / itemHeight));
            geometry.setHeight(closed);
            QObject::connect(box, &QComboBox::currentIndexChanged, box, [this, box, id = c.id] {
                if (!IsQuiet(box)) {
                    Dispatch({Msg::Command, id, CBN_SELCHANGE});
                }
            });
            w = box;
            break;
        }
        case WindowClass::Static: {
            auto* label = new QLabel(parent);
            label->setFocusPolicy(Qt::NoFocus);
            const auto type = c.style & style::kStaticTypeMask;
            if (type == style::kStaticIcon || type == style::kStaticBitmap) {
                // Pictures show at their natural size, whatever the template says.
                const Size natural = type == style::kStaticIcon ? backend_.IconSize() : Size{};
                QPixmap picture;
                if (type == style::kStaticIcon) {
                    picture = QtBackend::Pixmap(backend_.LoadIcon(c.image, natural.cx, natural.cy));
                } else {
                    picture = QtBackend::Pixmap(backend_.LoadIcon(c.image, 0, 0));
                }
                label->setPixmap(picture);
                geometry.setSize(picture.size());
            } else {
                label->setTextFormat(Qt::PlainText);
                label->setText(caption);
                label->setWordWrap(true);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                // The author and copyright lines reach over the date field: a line that
                // filled its background would hide the start of a long date, and it would
                // take clicks meant for the field. The lines never change, so this costs
                // no repaints of the dialog.
                label->setAttribute(Qt::WA_TransparentForMouseEvents);
                opaque = false;
            }
            w = label;
            break;
        }
    }

    if (!c.symbol.empty()) {
        w->setObjectName(QString::fromLatin1(c.symbol.data(), c.symbol.size()));
    }
    w->setAccessibleName(c.accessible.empty() ? caption : FromCp1252(c.accessible));
    AdoptAccessible(w);
    w->setGeometry(geometry);
    // Opaque controls repaint alone; otherwise every change of a field would paint the
    // dialog behind it, and with it run the dialog's paint handler.
    w->setAutoFillBackground(opaque);
    return w;
}

void QtWindow::AddSystemMenuAction(unsigned command, const QString& text) {
    QAction* a = systemMenu_->addAction(text);
    a->setData(command);
    QObject::connect(a, &QAction::triggered, widget_.get(), [this, command] {
        const QPoint at = QCursor::pos();
        Dispatch({Msg::SysCommand, 0, 0, command,
                  static_cast<std::intptr_t>((at.x() & 0xFFFF) | (at.y() & 0xFFFF) << 16)});
    });
}

QWidget* QtWindow::Control(int id) const {
    const auto it = controls_.find(id);
    return it != controls_.end() ? it->second : nullptr;
}

void QtWindow::ShowInitially() {
    const DialogTemplate& t = Template();
    if ((t.style & style::kVisible) != 0) {
        // A visible template without owner opens where it says, from the screen's corner.
        const PixelRect at = DluToPixels(t.rect, units_);
        widget_->move(at.x, at.y);
    } else {
        const QRect area = owner_ != nullptr ? owner_->Widget()->frameGeometry()
                                             : widget_->screen()->availableGeometry();
        QSize frame = widget_->frameGeometry().size();
        if (owner_ != nullptr && frame == widget_->size()) {
            // Before its first showing a window knows no frame yet: assume the owner's.
            frame += owner_->Widget()->frameGeometry().size() - owner_->Widget()->size();
        }
        // From the exact centre: QRect::center() lies half a pixel up and left of it.
        widget_->move((2 * area.x() + area.width() - frame.width()) / 2,
                      (2 * area.y() + area.height() - frame.height()) / 2);
    }
    if (owner_ != nullptr) {
        widget_->setWindowModality(Qt::ApplicationModal);
    }
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
}

int QtWindow::Exec() {
    if (!ended_) {
        QEventLoop loop;
        loop_ = &loop;
        loop.exec();
        loop_ = nullptr;
    }
    return result_;
}

std::intptr_t QtWindow::Dispatch(const Message& message) {
    // After the end command no handler runs any more.
    if (ended_) {
        return 0;
    }
    return dialog_.Dispatch(message);
}

void QtWindow::Paint() {
    inPaint_ = true;
    Dispatch({Msg::Paint});
    painter_.reset();
    inPaint_ = false;
}

void QtWindow::Timer(int qtTimerId) {
    for (auto& [id, timer] : timers_) {
        if (timer.timerId() == qtTimerId) {
            Dispatch({Msg::Timer, 0, 0, static_cast<std::uintptr_t>(id), 0});
            return;
        }
    }
}

void QtWindow::ShowSystemMenu(const QPoint& globalPos) {
    if (systemMenu_ != nullptr && !ended_) {
        systemMenu_->popup(globalPos);
    }
}

void QtWindow::PressEnter() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focus);
        button != nullptr && button->window() == widget_.get()) {
        button->click();
        return;
    }
    int command = IDOK;
    for (const ControlTemplate& c : Template().controls) {
        if (c.cls == WindowClass::Button &&
            (c.style & style::kButtonTypeMask) == style::kDefPushButton) {
            command = c.id;
            break;
        }
    }
    Dispatch({Msg::Command, command, BN_CLICKED});
}

void QtWindow::SetText(int id, std::string_view text) {
    const QString s = FromCp1252(text);
    if (id == 0) {
        widget_->setWindowTitle(s);
        return;
    }
    QWidget* w = Control(id);
    // An equal text changes nothing on screen; leaving it alone keeps paints from
    // causing further paints.
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != s) {
            e->setText(s);
            e->setCursorPosition(0);
        }
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        if (b->property(kCaption).toString() != s) {
            b->setProperty(kCaption, s);
            const ControlTemplate* c = FindControl(Template(), id);
            const bool multiLine = c != nullptr && (c->style & style::kButtonMultiLine) != 0;
            b->setText(multiLine ? Wrap(s, b->fontMetrics(), b->width() - 8) : s);
        }
    } else if (auto* a = qobject_cast<QAbstractButton*>(w)) {
        if (a->text() != s) {
            a->setText(s);
        }
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        if (l->text() != s) {
            l->setText(s);
        }
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (g->title() != s) {
            g->setTitle(s);
        }
    }
}

std::size_t QtWindow::GetText(int id, char* buffer, std::size_t size) {
    QWidget* w = Control(id);
    QString s;
    if (auto* box = qobject_cast<QComboBox*>(w)) {
        s = box->currentIndex() >= 0 ? box->currentText() : QString();
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        s = e->text();
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        s = b->property(kCaption).toString();
    } else if (auto* a = qobject_cast<QAbstractButton*>(w)) {
        s = a->text();
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        s = l->text();
    } else if (id == 0) {
        s = widget_->windowTitle();
    }
    return ToCp1252(s, buffer, size);
}

int QtWindow::AddString(int id, std::string_view text) {
    auto* box = qobject_cast<QComboBox*>(Control(id));
    if (box == nullptr) {
        return -1;
    }
    const QString s = FromCp1252(text);
    int at = box->count();
    if ((FindControl(Template(), id)->style & style::kComboSort) != 0) {
        at = 0;
        while (at < box->count() && QString::compare(box->itemText(at), s) <= 0) {
            ++at;
        }
    }
    Quietly(box, [&] {
        const int current = box->currentIndex();
        box->insertItem(at, s);
        // Qt selects the first entry of an empty list by itself; a new list shows none.
        if (current < 0) {
            box->setCurrentIndex(-1);
        }
    });
    return at;
}

void QtWindow::SetCurSel(int id, int index) {
    if (auto* box = qobject_cast<QComboBox*>(Control(id))) {
        const int target = index >= 0 && index < box->count() ? index : -1;
        if (box->currentIndex() != target) {
            Quietly(box, [&] { box->setCurrentIndex(target); });
        }
    }
}

void QtWindow::SetCheck(int id, bool checked) {
    if (auto* b = qobject_cast<QAbstractButton*>(Control(id))) {
        if (b->isChecked() != checked) {
            b->setChecked(checked);
        }
    }
}

bool QtWindow::GetCheck(int id) {
    auto* b = qobject_cast<QAbstractButton*>(Control(id));
    return b != nullptr && b->isChecked();
}

void QtWindow::SetFocus(int id) {
    if (QWidget* w = Control(id); w != nullptr && !w->hasFocus()) {
        w->setFocus(Qt::OtherFocusReason);
    }
}

void QtWindow::SetFont(int id, FontHandle font, bool redraw) {
    QWidget* w = Control(id);
    if (w == nullptr) {
        return;
    }
    const QFont wanted = font != nullptr ? QtBackend::FontOf(font) : widget_->font();
    // Setting an equal font would still repaint the field: leave it.
    if (w->font() != wanted) {
        w->setFont(wanted);
        if (redraw) {
            w->update();
        }
    }
}

void QtWindow::SetIcon(IconHandle icon, bool /*big*/) {
    if (icon != nullptr) {
        widget_->setWindowIcon(QIcon(QtBackend::Pixmap(icon)));
    }
}

void QtWindow::SetTimer(int id, int milliseconds) {
    timers_[id].start(milliseconds, Qt::PreciseTimer, widget_.get());
}

bool QtWindow::IsIconic() {
    return widget_->isMinimized();
}

ClientRect QtWindow::GetClientRect() {
    return {0, 0, widget_->width(), widget_->height()};
}

void QtWindow::BeginPaint() {
    if (inPaint_ && painter_ == nullptr) {
        painter_ = std::make_unique<QPainter>(widget_.get());
    }
}

void QtWindow::EraseIconBackground() {
    if (painter_ != nullptr) {
        painter_->fillRect(widget_->rect(), widget_->palette().window());
    }
}

void QtWindow::DrawIcon(int x, int y, IconHandle icon) {
    if (painter_ != nullptr && icon != nullptr) {
        painter_->drawPixmap(x, y, QtBackend::Pixmap(icon));
    }
}

void QtWindow::EndPaint() {
    painter_.reset();
}

void QtWindow::DefaultPaint() {
    // Qt has filled the background and paints the controls itself.
}

void QtWindow::Show(ShowCommand command) {
    switch (command) {
        case ShowCommand::Hide:
            if (widget_->isVisible()) {
                hiddenMaximized_ = widget_->isMaximized();
                hiddenPos_ = widget_->pos();
                hiddenSize_ = widget_->size();
                widget_->hide();
            }
            break;
        case ShowCommand::Show:
            if (!widget_->isVisible()) {
                // A shown-again window stands where and as it stood.
                if (hiddenMaximized_) {
                    widget_->showMaximized();
                } else {
                    widget_->resize(hiddenSize_);
                    widget_->move(hiddenPos_);
                    widget_->show();
                }
            }
            widget_->raise();
            widget_->activateWindow();
            break;
        case ShowCommand::Minimize:
            widget_->showMinimized();
            break;
        case ShowCommand::Maximize:
            widget_->showMaximized();
            break;
        case ShowCommand::Restore:
            widget_->showNormal();
            break;
    }
}

void QtWindow::AppendSystemMenu(unsigned command, std::string_view text) {
    if (systemMenu_ == nullptr) {
        return;
    }
    if (command == 0 && text.empty()) {
        systemMenu_->addSeparator();
    } else {
        AddSystemMenuAction(command, FromCp1252(text));
    }
}

void QtWindow::End(int result) {
    if (!ended_) {
        ended_ = true;
        result_ = result;
    }
    if (loop_ != nullptr) {
        loop_->exit(result_);
    }
}

}  // namespace platform::qt
