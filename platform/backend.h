// The interface a window-system backend implements. It speaks in control numbers and
// plain values only, so everything above it builds and runs without a window system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/dialog_template.h"
#include "platform/keys.h"

namespace platform {

class Dialog;

enum class Msg : std::uint8_t {
    Command,        // id: control or command number, code: notification
    Paint,          // the window needs painting
    Timer,          // wParam: timer identifier
    SysCommand,     // wParam: system command, lParam: packed cursor position
    Help,           // F1 pressed while the window is active
    QueryDragIcon,  // the icon to show while the minimised window is dragged
    Close,          // the close request
    User,           // a private message: code is its number
};

// Notifications of the Command message.
inline constexpr int BN_CLICKED = 0;
inline constexpr int CBN_SELCHANGE = 1;

// System commands; the low four bits belong to the window system.
inline constexpr unsigned SC_SIZE = 0xF000;
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_MAXIMIZE = 0xF030;
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_RESTORE = 0xF120;

// Mouse events reported by a notification-area icon.
inline constexpr std::intptr_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::intptr_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::intptr_t WM_LBUTTONUP = 0x0202;
inline constexpr std::intptr_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::intptr_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::intptr_t WM_RBUTTONUP = 0x0205;
inline constexpr std::intptr_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::intptr_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::intptr_t WM_MBUTTONUP = 0x0208;
inline constexpr std::intptr_t WM_MBUTTONDBLCLK = 0x0209;

// Message box types.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_ICONERROR = 0x10;

struct Message {
    Msg kind;
    int id = 0;
    int code = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

enum class ShowCommand : std::uint8_t { Hide, Show, Minimize, Maximize, Restore };

struct ClientRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct Size {
    int cx = 0;
    int cy = 0;
};

// The arguments of a font request; the backend maps them to what it has.
struct FontRequest {
    int height = 0;  // positive: cell height in pixels
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 0;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1;
    int outPrecision = 0;
    int clipPrecision = 0;
    int quality = 0;
    int pitchAndFamily = 0;
    std::string_view face;
};

struct FontObject;
struct IconObject;
using FontHandle = FontObject*;
using IconHandle = IconObject*;

// One realised dialog window and its controls.
class Window {
  public:
    virtual ~Window() = default;

    // Replaces the whole text of a control (or of the caption for id 0).
    virtual void SetText(int id, std::string_view text) = 0;
    // At most size - 1 characters and a terminator; a list gives its selected entry.
    virtual std::size_t GetText(int id, char* buffer, std::size_t size) = 0;
    // Adds a list entry (sorted where the list sorts); the new index, or -1 on failure.
    virtual int AddString(int id, std::string_view text) = 0;
    // Selects a list entry by program: no selection-change notification follows.
    virtual void SetCurSel(int id, int index) = 0;
    virtual void SetCheck(int id, bool checked) = 0;
    virtual bool GetCheck(int id) = 0;
    virtual void SetFocus(int id) = 0;
    virtual void SetFont(int id, FontHandle font, bool redraw) = 0;
    virtual void SetIcon(IconHandle icon, bool big) = 0;
    virtual void SetTimer(int id, int milliseconds) = 0;
    virtual bool IsIconic() = 0;
    virtual ClientRect GetClientRect() = 0;
    virtual void BeginPaint() = 0;
    virtual void EraseIconBackground() = 0;
    virtual void DrawIcon(int x, int y, IconHandle icon) = 0;
    virtual void EndPaint() = 0;
    // The window system's own painting of a dialog; begins and ends the paint itself.
    virtual void DefaultPaint() = 0;
    virtual void Show(ShowCommand command) = 0;
    virtual bool HasSystemMenu() = 0;
    // A separator when text is empty and command 0, a text entry otherwise.
    virtual void AppendSystemMenu(unsigned command, std::string_view text) = 0;
    // Ends the modal run with this result.
    virtual void End(int result) = 0;
};

class Backend {
  public:
    virtual ~Backend() = default;

    // Creates the dialog's window from its template, initialises it, shows it and
    // dispatches messages until Window::End; returns the result, or -1 when the window
    // cannot be created. The owner takes no input meanwhile.
    virtual int RunModal(Dialog& dialog, Window* owner) = 0;
    // The state of F1 to F10 for the whole system at this moment.
    virtual KeyState QueryKeys() = 0;
    // A modal box with the text, the type's icon and one OK button; the caption is the
    // program file's name without extension.
    virtual int MessageBox(Window* owner, std::string_view text, unsigned type) = 0;
    // nullptr on failure.
    virtual FontHandle CreateFont(const FontRequest& request) = 0;
    virtual void DeleteFont(FontHandle font) = 0;
    // A shared icon from the program's resources, scaled to cx x cy; never destroyed.
    virtual IconHandle LoadIcon(int resource, int cx, int cy) = 0;
    // The string resource into buffer; 0 and an empty buffer when it is missing.
    virtual std::size_t LoadString(int id, char* buffer, std::size_t size) = 0;
    // The size of a standard icon.
    virtual Size IconSize() = 0;
    // Notification-area icon of a window; mouse events over it arrive at the window as
    // Msg::User with code callbackMessage, wParam id and lParam the mouse event.
    virtual bool AddTrayIcon(Window& owner, int id, unsigned callbackMessage, IconHandle icon,
                             std::string_view tip) = 0;
    virtual bool DeleteTrayIcon(Window& owner, int id) = 0;
};

}  // namespace platform
