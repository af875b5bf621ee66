#include "platform/dialog.h"

namespace platform {

Dialog::Dialog(const DialogTemplate& tmpl, Backend& backend, Dialog* parent)
    : template_(tmpl), backend_(backend), parent_(parent) {}

Dialog::~Dialog() = default;

int Dialog::DoModal() {
    Window* owner = parent_ != nullptr ? parent_->GetWindow() : nullptr;
    return backend_.RunModal(*this, owner);
}

void Dialog::EndDialog(int result) {
    if (window_ != nullptr) {
        window_->End(result);
    }
}

void Dialog::SetDlgItemText(int id, std::string_view text) {
    if (window_ != nullptr) {
        window_->SetText(id, text);
    }
}

std::size_t Dialog::GetDlgItemText(int id, char* buffer, std::size_t size) {
    if (window_ != nullptr) {
        return window_->GetText(id, buffer, size);
    }
    if (size > 0) {
        buffer[0] = '\0';
    }
    return 0;
}

void Dialog::CheckDlgButton(int id, bool checked) {
    if (window_ != nullptr) {
        window_->SetCheck(id, checked);
    }
}

bool Dialog::IsDlgButtonChecked(int id) {
    return window_ != nullptr && window_->GetCheck(id);
}

void Dialog::SetCurSel(int id, int index) {
    if (window_ != nullptr) {
        window_->SetCurSel(id, index);
    }
}

void Dialog::GotoDlgCtrl(int id) {
    if (window_ != nullptr) {
        window_->SetFocus(id);
    }
}

void Dialog::SetItemFont(int id, FontHandle font, bool redraw) {
    if (window_ != nullptr) {
        window_->SetFont(id, font, redraw);
    }
}

int Dialog::MessageBox(std::string_view text, unsigned type) {
    return backend_.MessageBox(window_, text, type);
}

KeyState Dialog::GetKeyState() {
    return backend_.QueryKeys();
}

bool Dialog::OnInitDialog() {
    for (const auto& list : template_.init) {
        for (const auto entry : list.entries) {
            if (window_ == nullptr || window_->AddString(list.id, entry) < 0) {
                // A list that cannot be filled fails the run; initialisation goes on.
                EndDialog(-1);
            }
        }
    }
    DoDataExchange();
    return true;
}

void Dialog::OnOK() {
    EndDialog(IDOK);
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

std::intptr_t Dialog::WindowProc(const Message& m) {
    switch (m.kind) {
        case Msg::Command:
            if (m.id == IDOK) {
                OnOK();
            } else if (m.id == IDCANCEL) {
                OnCancel();
            }
            return 0;
        case Msg::SysCommand:
            DefaultSysCommand(static_cast<unsigned>(m.wParam), m.lParam);
            return 0;
        case Msg::Close:
            // A dialog answers the close request like Escape.
            return WindowProc({Msg::Command, IDCANCEL, BN_CLICKED, 0, 0});
        case Msg::Paint:
            if (window_ != nullptr) {
                window_->DefaultPaint();
            }
            return 0;
        case Msg::Timer:
        case Msg::Help:
        case Msg::QueryDragIcon:
        case Msg::User:
            return 0;
    }
    return 0;
}

void Dialog::DefaultSysCommand(unsigned command, std::intptr_t /*lParam*/) {
    switch (command & 0xFFF0U) {
        case SC_CLOSE:
            WindowProc({Msg::Close});
            break;
        case SC_MINIMIZE:
            if (window_ != nullptr) {
                window_->Show(ShowCommand::Minimize);
            }
            break;
        case SC_MAXIMIZE:
            if (window_ != nullptr) {
                window_->Show(ShowCommand::Maximize);
            }
            break;
        case SC_RESTORE:
            if (window_ != nullptr) {
                window_->Show(ShowCommand::Restore);
            }
            break;
        default:
            // Moving, sizing and the rest belong to the window manager here.
            break;
    }
}

}  // namespace platform
