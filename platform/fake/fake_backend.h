// A backend without a window system, for tests and benchmarks: it keeps the state of
// every control, records every operation (when asked to) and lets a test set the key
// state, the answers of modal boxes and the failures of fonts, lists and the tray.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/dialog.h"
#include "platform/resources.h"

namespace platform::fake {

enum class Op {
    SetText,
    GetText,
    AddString,
    SetCurSel,
    SetCheck,
    GetCheck,
    SetFocus,
    SetFont,
    SetIcon,
    SetTimer,
    BeginPaint,
    EraseIconBackground,
    DrawIcon,
    EndPaint,
    DefaultPaint,
    Show,
    AppendSystemMenu,
    End,
    QueryKeys,
    MessageBox,
    CreateFont,
    DeleteFont,
    AddTrayIcon,
    DeleteTrayIcon,
    RunModal,
};

struct Record {
    Op op;
    int id = 0;
    std::string text{};
    long long value = 0;
    long long value2 = 0;
};

struct ControlState {
    const ControlTemplate* tmpl = nullptr;
    std::string text{};
    bool checked = false;
    std::vector<std::string> entries;
    int cursel = -1;
    FontHandle font = nullptr;
};

enum class Visibility { Shown, Hidden, Minimized, Maximized };

class FakeBackend;

class FakeWindow : public Window {
  public:
    FakeWindow(FakeBackend& backend, Dialog& dialog, FakeWindow* owner);

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
    bool IsIconic() override { return visibility == Visibility::Minimized; }
    ClientRect GetClientRect() override { return client; }
    void BeginPaint() override;
    void EraseIconBackground() override;
    void DrawIcon(int x, int y, IconHandle icon) override;
    void EndPaint() override;
    void DefaultPaint() override;
    void Show(ShowCommand command) override;
    bool HasSystemMenu() override { return hasSystemMenu; }
    void AppendSystemMenu(unsigned command, std::string_view text) override;
    void End(int result) override;

    // Test side.
    ControlState& Control(int id);
    std::string Text(int id) { return Control(id).text; }
    std::intptr_t Send(const Message& m) { return dialog.Dispatch(m); }
    void Click(int id) { Send({Msg::Command, id, BN_CLICKED}); }
    // The operator picks entry index in a list: the list changes, then notifies.
    void Pick(int id, int index);
    void Tick() { Send({Msg::Timer, 0, 0, 1, 0}); }
    void Paint() { Send({Msg::Paint}); }

    FakeBackend& backend;
    Dialog& dialog;
    FakeWindow* owner;
    std::map<int, ControlState> controls;
    int focus = 0;
    bool enabled = true;
    bool ended = false;
    int result = 0;
    Visibility visibility = Visibility::Shown;
    ClientRect client{0, 0, 570, 475};
    bool hasSystemMenu = true;
    std::vector<std::pair<unsigned, std::string>> systemMenu;
    std::map<int, int> timers;
    IconHandle bigIcon = nullptr;
    IconHandle smallIcon = nullptr;
};

struct MessageBoxCall {
    std::string text{};
    unsigned type;
    FakeWindow* owner;
};

struct TrayIcon {
    FakeWindow* owner;
    int id;
    unsigned callbackMessage;
    IconHandle icon;
    std::string tip;
};

class FakeBackend : public Backend {
  public:
    explicit FakeBackend(const ResourceModule* module = nullptr) : module_(module) {}
    ~FakeBackend() override;

    int RunModal(Dialog& dialog, Window* owner) override;
    KeyState QueryKeys() override;
    int MessageBox(Window* owner, std::string_view text, unsigned type) override;
    FontHandle CreateFont(const FontRequest& request) override;
    void DeleteFont(FontHandle font) override;
    IconHandle LoadIcon(int resource, int cx, int cy) override;
    std::size_t LoadString(int id, char* buffer, std::size_t size) override;
    Size IconSize() override { return iconSize; }
    bool AddTrayIcon(Window& owner, int id, unsigned callbackMessage, IconHandle icon,
                     std::string_view tip) override;
    bool DeleteTrayIcon(Window& owner, int id) override;

    // Realises and initialises a dialog without running a loop: the test drives it.
    FakeWindow& Open(Dialog& dialog, FakeWindow* owner = nullptr);
    // Sends the tray icon's owner a mouse event over the icon.
    std::intptr_t TrayEvent(std::intptr_t mouseMessage);

    void Log(Record r) {
        if (recording) {
            log.push_back(std::move(r));
        }
    }
    std::vector<Record> Recorded(Op op) const;
    static FontRequest RequestOf(FontHandle font);

    // Knobs.
    bool recording = true;
    KeyState keys;
    Size iconSize{32, 32};
    int failFontCreations = 0;
    int failAddStrings = 0;
    bool trayAvailable = true;
    bool systemMenus = true;  // whether new windows have a system menu
    std::set<int> missingStrings;
    // Runs while a modal box or nested dialog is open; the box then answers IDOK unless
    // the hook ended the dialog itself.
    std::function<void()> onMessageBox;
    std::function<void(FakeWindow&)> onModal;

    // Observations.
    std::vector<Record> log;
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<int> modalRuns;  // template numbers, in order
    std::vector<TrayIcon> tray;
    int liveFonts = 0;
    int fontsCreated = 0;
    int keyQueries = 0;

  private:
    const ResourceModule* module_;
    std::vector<std::unique_ptr<FakeWindow>> windows_;
    std::map<std::tuple<int, int, int>, std::unique_ptr<int>> icons_;
};

}  // namespace platform::fake
