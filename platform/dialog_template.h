// Dialog templates as constant data: what a backend needs to realise a window and its
// controls, in the window system's own terms (classes, style words, dialog units).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

// The control number a template gives to controls the program never addresses.
inline constexpr int kNoId = -1;

// Commands every dialog understands.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

enum class WindowClass : std::uint8_t { Button, Edit, ComboBox, Static };

// Style bits, as template style words carry them. Bits are reused between kinds
// (a tab stop on a control is the maximise box on a window), as the window system does.
namespace style {
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kSysMenu = 0x00080000;
inline constexpr std::uint32_t kThickFrame = 0x00040000;
inline constexpr std::uint32_t kMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kVScroll = 0x00200000;
inline constexpr std::uint32_t kGroup = 0x00020000;
inline constexpr std::uint32_t kTabStop = 0x00010000;

inline constexpr std::uint32_t kDialogModalFrame = 0x80;
inline constexpr std::uint32_t kDialogShellFont = 0x48;
inline constexpr std::uint32_t kDialog3dLook = 0x04;

inline constexpr std::uint32_t kButtonTypeMask = 0x0F;
inline constexpr std::uint32_t kPushButton = 0x00;
inline constexpr std::uint32_t kDefPushButton = 0x01;
inline constexpr std::uint32_t kRadioButton = 0x04;
inline constexpr std::uint32_t kGroupBox = 0x07;
inline constexpr std::uint32_t kButtonMultiLine = 0x2000;

inline constexpr std::uint32_t kEditCenter = 0x0001;
inline constexpr std::uint32_t kEditAutoHScroll = 0x0080;
inline constexpr std::uint32_t kEditReadOnly = 0x0800;

inline constexpr std::uint32_t kComboTypeMask = 0x03;
inline constexpr std::uint32_t kComboDropDownList = 0x0003;
inline constexpr std::uint32_t kComboSort = 0x0100;

inline constexpr std::uint32_t kStaticTypeMask = 0x1F;
inline constexpr std::uint32_t kStaticLeft = 0x00;
inline constexpr std::uint32_t kStaticIcon = 0x03;
inline constexpr std::uint32_t kStaticBitmap = 0x0E;
inline constexpr std::uint32_t kStaticNoPrefix = 0x80;

inline constexpr std::uint32_t kExAppWindow = 0x00040000;
}  // namespace style

// A rectangle in dialog units: position of the top-left corner and size.
struct DluRect {
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    friend bool operator==(const DluRect&, const DluRect&) = default;
};

struct ControlTemplate {
    WindowClass cls;
    std::uint32_t style;
    int id;                    // kNoId when the program never addresses it
    std::string_view symbol;   // symbolic name, e.g. "IDC_TIME3"; empty when unnamed
    std::string_view caption;  // Windows-1252
    DluRect rect;
    int image = 0;                // picture resource for icon and bitmap statics
    std::string_view accessible;  // Windows-1252; empty means "the caption"
};

// Dialog-initialisation data: entries added to a list control while the dialog initialises.
struct ListInit {
    int id;
    std::span<const std::string_view> entries;
};

struct DialogTemplate {
    int id;
    std::uint32_t style;
    std::uint32_t exStyle;
    DluRect rect;
    std::string_view caption;  // Windows-1252
    int pointSize;
    std::string_view face;
    std::span<const ControlTemplate> controls;
    std::span<const ListInit> init;
};

constexpr bool IsPushButton(const ControlTemplate& c) {
    const auto type = c.style & style::kButtonTypeMask;
    return c.cls == WindowClass::Button &&
           (type == style::kPushButton || type == style::kDefPushButton);
}

constexpr const ControlTemplate* FindControl(const DialogTemplate& t, int id) {
    for (const auto& c : t.controls) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

}  // namespace platform
