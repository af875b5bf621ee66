// A backend that does nothing: what remains to measure is the program's own work.
#pragma once

#include <cstring>

#include "platform/backend.h"
#include "platform/dialog.h"

namespace velmora::bench {

class NullWindow : public platform::Window {
  public:
    void SetText(int, std::string_view) override {}
    std::size_t GetText(int, char* buffer, std::size_t size) override {
        // Every list shows its first entry.
        const std::size_t n = size > 4 ? 4 : size - 1;
        std::memcpy(buffer, "1,00", n);
        buffer[n] = '\0';
        return n;
    }
    int AddString(int, std::string_view) override { return 0; }
    void SetCurSel(int, int) override {}
    void SetCheck(int, bool) override {}
    bool GetCheck(int) override { return false; }
    void SetFocus(int) override {}
    void SetFont(int, platform::FontHandle, bool) override {}
    void SetIcon(platform::IconHandle, bool) override {}
    void SetTimer(int, int) override {}
    bool IsIconic() override { return false; }
    platform::ClientRect GetClientRect() override { return {}; }
    void BeginPaint() override {}
    void EraseIconBackground() override {}
    void DrawIcon(int, int, platform::IconHandle) override {}
    void EndPaint() override {}
    void DefaultPaint() override {}
    void Show(platform::ShowCommand) override {}
    bool HasSystemMenu() override { return false; }
    void AppendSystemMenu(unsigned, std::string_view) override {}
    void End(int) override {}
};

class NullBackend : public platform::Backend {
  public:
    int RunModal(platform::Dialog&, platform::Window*) override { return 0; }
    platform::KeyState QueryKeys() override { return {}; }
    int MessageBox(platform::Window*, std::string_view, unsigned) override { return 1; }
    platform::FontHandle CreateFont(const platform::FontRequest&) override { return nullptr; }
    void DeleteFont(platform::FontHandle) override {}
    platform::IconHandle LoadIcon(int, int, int) override { return nullptr; }
    std::size_t LoadString(int, char* buffer, std::size_t size) override {
        if (size > 0) {
            buffer[0] = '\0';
        }
        return 0;
    }
    platform::Size IconSize() override { return {32, 32}; }
    bool AddTrayIcon(platform::Window&, int, unsigned, platform::IconHandle,
                     std::string_view) override {
        return false;
    }
    bool DeleteTrayIcon(platform::Window&, int) override { return false; }
};

}  // namespace velmora::bench
