// The dialog base class: a window made from a template, run modally, whose messages
// reach virtual handlers. The program derives its windows from it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/backend.h"
#include "platform/dialog_template.h"

namespace platform {

class Dialog {
  public:
    Dialog(const DialogTemplate& tmpl, Backend& backend, Dialog* parent = nullptr);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog until EndDialog; its owner (the parent, if any) takes no input.
    int DoModal();
    void EndDialog(int result);

    const DialogTemplate& Template() const { return template_; }
    Backend& GetBackend() const { return backend_; }
    // The realised window; nullptr outside the modal run.
    Window* GetWindow() const { return window_; }

    // Operations on the controls of the realised window.
    void SetDlgItemText(int id, std::string_view text);
    std::size_t GetDlgItemText(int id, char* buffer, std::size_t size);
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id);
    void SetCurSel(int id, int index);
    void GotoDlgCtrl(int id);
    void SetItemFont(int id, FontHandle font, bool redraw);
    int MessageBox(std::string_view text, unsigned type);
    KeyState GetKeyState();

    // Entry points for the backend.
    void Attach(Window* window) { window_ = window; }
    bool InitDialog() { return OnInitDialog(); }
    std::intptr_t Dispatch(const Message& message) { return WindowProc(message); }

  protected:
    // Adds the template's list entries, then binds controls through DoDataExchange.
    // Returns true: the backend then focuses the first tab stop.
    virtual bool OnInitDialog();
    virtual void DoDataExchange() {}
    virtual void OnOK();
    virtual void OnCancel();
    // The default handling of every message; overrides route their own first.
    virtual std::intptr_t WindowProc(const Message& message);
    // The window system's own handling of a system command.
    void DefaultSysCommand(unsigned command, std::intptr_t lParam);

  private:
    const DialogTemplate& template_;
    Backend& backend_;
    Dialog* parent_;
    Window* window_ = nullptr;
};

// The process's application object: the backend runs InitInstance once.
class App {
  public:
    virtual ~App() = default;
    virtual bool InitInstance() = 0;

    int Run(Backend& backend) {
        backend_ = &backend;
        InitInstance();
        backend_ = nullptr;
        return 0;
    }
    Backend& GetBackend() const { return *backend_; }

    Dialog* m_pMainWnd = nullptr;

  private:
    Backend* backend_ = nullptr;
};

}  // namespace platform

namespace platform {

// A font the program owns: created on request, released with the object.
class Font {
  public:
    explicit Font(Backend& backend) : backend_(backend) {}
    ~Font() { Release(); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool Create(const FontRequest& request) {
        Release();
        handle_ = backend_.CreateFont(request);
        return handle_ != nullptr;
    }
    FontHandle Handle() const { return handle_; }
    bool Empty() const { return handle_ == nullptr; }

  private:
    void Release() {
        if (handle_ != nullptr) {
            backend_.DeleteFont(handle_);
            handle_ = nullptr;
        }
    }
    Backend& backend_;
    FontHandle handle_ = nullptr;
};

}  // namespace platform
