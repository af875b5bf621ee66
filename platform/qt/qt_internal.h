// The Qt realisation of the backend interface. Included by the backend and its tests only.
#pragma once

#include <QBasicTimer>
#include <QMenu>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QRadioButton>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <map>
#include <memory>
#include <vector>

#include "platform/backend.h"
#include "platform/dialog.h"
#include "platform/dialog_units.h"
#include "platform/qt/key_state.h"
#include "platform/resources.h"

class QEventLoop;
class QPainter;
class QSystemTrayIcon;

namespace platform::qt {

class QtBackend;
class QtWindow;

// A radio button that never marks itself: only the program sets its mark.
class PlainRadioButton : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    void nextCheckState() override {}
};

// The top-level widget of a dialog; hands its window events to its QtWindow.
class DialogWidget : public QWidget {
  public:
    DialogWidget(QtWindow& window, QWidget* parent, Qt::WindowFlags flags);
    QtWindow& Owner() const { return window_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    QtWindow& window_;
};

class QtWindow : public Window {
  public:
    QtWindow(QtBackend& backend, Dialog& dialog, QtWindow* owner);
    ~QtWindow() override;

    void SetText(int id, std::string_view text) override;
    std::size_t GetText(int id, char* buffer, std::size_t size) override;
    int AddString(int id, std::string_view text) override;
    void SetCurSel(int id, int index) override;
    void SetCheck(int id, bool checked) override;
    bool GetCheck(int id) override;
    void SetFocus(int id) override;
    void SetFont(int id, FontHandle font, bool redraw) override;
    void SetIcon(IconHandle icon, bool big) override;
    void SetTimer(int id, int milliseconds) override;
    bool IsIconic() override;
    ClientRect GetClientRect() override;
    void BeginPaint() override;
    void EraseIconBackground() override;
    void DrawIcon(int x, int y, IconHandle icon) override;
    void EndPaint() override;
    void DefaultPaint() override;
    void Show(ShowCommand command) override;
    bool HasSystemMenu() override { return systemMenu_ != nullptr; }
    void AppendSystemMenu(unsigned command, std::string_view text) override;
    void End(int result) override;

    // Backend side.
    void Build();
    void ShowInitially();
    int Exec();
    std::intptr_t Dispatch(const Message& message);
    void Paint();
    void Timer(int qtTimerId);
    void ShowSystemMenu(const QPoint& globalPos);
    void PressEnter();
    bool Ended() const { return ended_; }
    int Result() const { return result_; }

    DialogWidget* Widget() const { return widget_.get(); }
    QWidget* Control(int id) const;
    const DialogTemplate& Template() const { return dialog_.Template(); }
    BaseUnits Units() const { return units_; }

  private:
    QWidget* CreateControl(const ControlTemplate& c);
    void AddSystemMenuAction(unsigned command, const QString& text);

    QtBackend& backend_;
    Dialog& dialog_;
    QtWindow* owner_;
    std::unique_ptr<DialogWidget> widget_;
    std::map<int, QWidget*> controls_;
    std::map<int, QBasicTimer> timers_;
    BaseUnits units_;
    QEventLoop* loop_ = nullptr;
    bool ended_ = false;
    int result_ = 0;
    bool inPaint_ = false;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QMenu> systemMenu_;
    // Where and how the window stood when it was hidden.
    QPoint hiddenPos_;
    QSize hiddenSize_;
    bool hiddenMaximized_ = false;
};

class QtBackend : public QObject, public Backend {
  public:
    explicit QtBackend(const ResourceModule& module);
    ~QtBackend() override;

    int RunModal(Dialog& dialog, Window* owner) override;
    KeyState QueryKeys() override { return keys_.Query(); }
    int MessageBox(Window* owner, std::string_view text, unsigned type) override;
    FontHandle CreateFont(const FontRequest& request) override;
    void DeleteFont(FontHandle font) override;
    IconHandle LoadIcon(int resource, int cx, int cy) override;
    std::size_t LoadString(int id, char* buffer, std::size_t size) override;
    Size IconSize() override { return {32, 32}; }
    bool AddTrayIcon(Window& owner, int id, unsigned callbackMessage, IconHandle icon,
                     std::string_view tip) override;
    bool DeleteTrayIcon(Window& owner, int id) override;

    // Creates, initialises and shows a dialog without running its loop (tests drive it).
    std::unique_ptr<QtWindow> Open(Dialog& dialog, QtWindow* owner = nullptr);
    static const QPixmap& Pixmap(IconHandle icon);
    static QFont FontOf(FontHandle font);
    // The font templates ask for, in pixels as the window system sizes it.
    static QFont DialogFont(const DialogTemplate& t);
    const KeyStateReader& Keys() const { return keys_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct TrayEntry {
        std::unique_ptr<QSystemTrayIcon> icon;
        QtWindow* owner;
        int id;
        unsigned callbackMessage;
    };
    void TrayMouse(std::intptr_t mouseMessage);
    void WatchTray();

    const ResourceModule& module_;
    KeyStateReader keys_;
    std::map<std::tuple<int, int, int>, std::unique_ptr<QPixmap>> icons_;
    std::vector<TrayEntry> tray_;
    bool trayWidgetSeen_ = false;
    QTimer trayWatch_;
    int trayMissingSeconds_ = 0;
};

}  // namespace platform::qt
