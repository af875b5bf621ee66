#include "platform/fake/fake_backend.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace platform::fake {
namespace {

struct FakeFont {
    FontRequest request;
    std::string face;
};

std::size_t CopyOut(std::string_view text, char* buffer, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t n = std::min(text.size(), size - 1);
    if (n > 0) {  // an empty view may have no data at all
        std::memcpy(buffer, text.data(), n);
    }
    buffer[n] = '\0';
    return n;
}

}  // namespace

FakeWindow::FakeWindow(FakeBackend& b, Dialog& d, FakeWindow* o)
    : backend(b), dialog(d), owner(o), hasSystemMenu(b.systemMenus) {
    for (const auto& c : d.Template().controls) {
        if (c.id == kNoId) {
            continue;
        }
        ControlState& s = controls[c.id];
        s.tmpl = &c;
        // Room for every text the program writes, so writing never allocates.
        s.text.reserve(64);
        s.text.assign(c.caption);
    }
}

ControlState& FakeWindow::Control(int id) {
    return controls.at(id);
}

void FakeWindow::SetText(int id, std::string_view text) {
    // Not even a copy of the text unless recording: the tick must be countable as free of
    // allocations.
    if (backend.recording) {
        backend.Log({Op::SetText, id, std::string(text)});
    }
    if (auto it = controls.find(id); it != controls.end()) {
        it->second.text.assign(text);
    }
}

std::size_t FakeWindow::GetText(int id, char* buffer, std::size_t size) {
    backend.Log({Op::GetText, id});
    auto it = controls.find(id);
    if (it == controls.end()) {
        return CopyOut({}, buffer, size);
    }
    const ControlState& s = it->second;
    if (s.tmpl->cls == WindowClass::ComboBox) {
        const bool valid = s.cursel >= 0 && s.cursel < static_cast<int>(s.entries.size());
        return CopyOut(valid ? std::string_view(s.entries[static_cast<std::size_t>(s.cursel)])
                             : std::string_view(),
                       buffer, size);
    }
    return CopyOut(s.text, buffer, size);
}

int FakeWindow::AddString(int id, std::string_view text) {
    backend.Log({Op::AddString, id, std::string(text)});
    auto it = controls.find(id);
    if (it == controls.end() || backend.failAddStrings > 0) {
        if (backend.failAddStrings > 0) {
            --backend.failAddStrings;
        }
        return -1;
    }
    auto& entries = it->second.entries;
    auto at = entries.end();
    if ((it->second.tmpl->style & style::kComboSort) != 0) {
        at = std::upper_bound(entries.begin(), entries.end(), std::string(text));
    }
    // Insert first: the insertion may move the entries, and begin() with them.
    const auto inserted = entries.insert(at, std::string(text));
    return static_cast<int>(inserted - entries.begin());
}

void FakeWindow::SetCurSel(int id, int index) {
    backend.Log({Op::SetCurSel, id, {}, index});
    ControlState& s = Control(id);
    s.cursel = index >= 0 && index < static_cast<int>(s.entries.size()) ? index : -1;
}

void FakeWindow::SetCheck(int id, bool checked) {
    backend.Log({Op::SetCheck, id, {}, checked ? 1 : 0});
    Control(id).checked = checked;
}

bool FakeWindow::GetCheck(int id) {
    backend.Log({Op::GetCheck, id});
    return Control(id).checked;
}

void FakeWindow::SetFocus(int id) {
    backend.Log({Op::SetFocus, id});
    focus = id;
}

void FakeWindow::SetFont(int id, FontHandle font, bool redraw) {
    backend.Log({Op::SetFont, id, {}, reinterpret_cast<long long>(font), redraw ? 1 : 0});
    Control(id).font = font;
}

void FakeWindow::SetIcon(IconHandle icon, bool big) {
    backend.Log({Op::SetIcon, 0, {}, reinterpret_cast<long long>(icon), big ? 1 : 0});
    (big ? bigIcon : smallIcon) = icon;
}

void FakeWindow::SetTimer(int id, int milliseconds) {
    backend.Log({Op::SetTimer, id, {}, milliseconds});
    timers[id] = milliseconds;
}

void FakeWindow::BeginPaint() {
    backend.Log({Op::BeginPaint});
}
void FakeWindow::EraseIconBackground() {
    backend.Log({Op::EraseIconBackground});
}
void FakeWindow::DrawIcon(int x, int y, IconHandle icon) {
    backend.Log({Op::DrawIcon, 0, {}, x, y});
    (void)icon;
}
void FakeWindow::EndPaint() {
    backend.Log({Op::EndPaint});
}
void FakeWindow::DefaultPaint() {
    backend.Log({Op::DefaultPaint});
}

void FakeWindow::Show(ShowCommand command) {
    backend.Log({Op::Show, 0, {}, static_cast<long long>(command)});
    switch (command) {
        case ShowCommand::Hide:
            visibility = Visibility::Hidden;
            break;
        case ShowCommand::Show:
            break;
        case ShowCommand::Minimize:
            visibility = Visibility::Minimized;
            break;
        case ShowCommand::Maximize:
            visibility = Visibility::Maximized;
            break;
        case ShowCommand::Restore:
            visibility = Visibility::Shown;
            break;
    }
    if (command == ShowCommand::Show && visibility == Visibility::Hidden) {
        visibility = Visibility::Shown;
    }
}

void FakeWindow::AppendSystemMenu(unsigned command, std::string_view text) {
    backend.Log({Op::AppendSystemMenu, static_cast<int>(command), std::string(text)});
    systemMenu.emplace_back(command, std::string(text));
}

void FakeWindow::End(int r) {
    backend.Log({Op::End, 0, {}, r});
    if (!ended) {
        ended = true;
        result = r;
    }
}

void FakeWindow::Pick(int id, int index) {
    ControlState& s = Control(id);
    if (s.cursel == index) {
        return;  // closing a list without a change notifies nothing
    }
    s.cursel = index;
    focus = id;
    Send({Msg::Command, id, CBN_SELCHANGE});
}

// The dialogs may be gone already (a test's members end in reverse order): touch none.
FakeBackend::~FakeBackend() = default;

FakeWindow& FakeBackend::Open(Dialog& dialog, FakeWindow* owner) {
    windows_.push_back(std::make_unique<FakeWindow>(*this, dialog, owner));
    FakeWindow& w = *windows_.back();
    dialog.Attach(&w);
    if (dialog.InitDialog()) {
        for (const auto& c : dialog.Template().controls) {
            if ((c.style & style::kTabStop) != 0 && c.id != kNoId) {
                w.focus = c.id;
                break;
            }
        }
    }
    return w;
}

int FakeBackend::RunModal(Dialog& dialog, Window* owner) {
    auto* ownerWindow = static_cast<FakeWindow*>(owner);
    modalRuns.push_back(dialog.Template().id);
    Log({Op::RunModal, dialog.Template().id});
    if (ownerWindow != nullptr) {
        ownerWindow->enabled = false;
    }
    FakeWindow& w = Open(dialog, ownerWindow);
    if (!w.ended && onModal) {
        onModal(w);
    }
    if (!w.ended) {
        w.End(IDOK);
    }
    if (ownerWindow != nullptr) {
        ownerWindow->enabled = true;
    }
    dialog.Attach(nullptr);
    const int result = w.result;
    // The run is over and its window gone: the dialog object may die right after, so
    // nothing may reach it through this window again.
    std::erase_if(windows_, [&w](const std::unique_ptr<FakeWindow>& p) { return p.get() == &w; });
    return result;
}

KeyState FakeBackend::QueryKeys() {
    ++keyQueries;
    Log({Op::QueryKeys, 0, {}, keys.down});
    return keys;
}

int FakeBackend::MessageBox(Window* owner, std::string_view text, unsigned type) {
    auto* w = static_cast<FakeWindow*>(owner);
    Log({Op::MessageBox, 0, std::string(text), type});
    messageBoxes.push_back({std::string(text), type, w});
    if (w != nullptr) {
        w->enabled = false;
    }
    if (onMessageBox) {
        onMessageBox();
    }
    if (w != nullptr) {
        w->enabled = true;
    }
    return IDOK;
}

FontHandle FakeBackend::CreateFont(const FontRequest& request) {
    Log({Op::CreateFont, 0, std::string(request.face), request.height});
    if (failFontCreations > 0) {
        --failFontCreations;
        return nullptr;
    }
    auto* font = new FakeFont{request, std::string(request.face)};
    font->request.face = font->face;
    ++liveFonts;
    ++fontsCreated;
    return reinterpret_cast<FontHandle>(font);
}

void FakeBackend::DeleteFont(FontHandle font) {
    Log({Op::DeleteFont, 0, {}, reinterpret_cast<long long>(font)});
    delete reinterpret_cast<FakeFont*>(font);
    --liveFonts;
}

FontRequest FakeBackend::RequestOf(FontHandle font) {
    return reinterpret_cast<FakeFont*>(font)->request;
}

IconHandle FakeBackend::LoadIcon(int resource, int cx, int cy) {
    auto& slot = icons_[{resource, cx, cy}];
    if (!slot) {
        slot = std::make_unique<int>(resource);
    }
    return reinterpret_cast<IconHandle>(slot.get());
}

std::size_t FakeBackend::LoadString(int id, char* buffer, std::size_t size) {
    std::string_view text;
    if (module_ != nullptr && missingStrings.count(id) == 0) {
        text = module_->String(id);
    }
    return CopyOut(text, buffer, size);
}

bool FakeBackend::AddTrayIcon(Window& owner, int id, unsigned callbackMessage, IconHandle icon,
                              std::string_view tip) {
    Log({Op::AddTrayIcon, id, std::string(tip)});
    if (!trayAvailable) {
        return false;
    }
    auto* w = static_cast<FakeWindow*>(&owner);
    for (const auto& t : tray) {
        if (t.owner == w && t.id == id) {
            return false;
        }
    }
    tray.push_back({w, id, callbackMessage, icon, std::string(tip)});
    return true;
}

bool FakeBackend::DeleteTrayIcon(Window& owner, int id) {
    Log({Op::DeleteTrayIcon, id});
    auto* w = static_cast<FakeWindow*>(&owner);
    const auto before = tray.size();
    std::erase_if(tray, [&](const TrayIcon& t) { return t.owner == w && t.id == id; });
    return tray.size() != before;
}

std::intptr_t FakeBackend::TrayEvent(std::intptr_t mouseMessage) {
    if (tray.empty()) {
        return 0;
    }
    const TrayIcon t = tray.front();
    return t.owner->Send({Msg::User, 0, static_cast<int>(t.callbackMessage),
                          static_cast<std::uintptr_t>(t.id), mouseMessage});
}

std::vector<Record> FakeBackend::Recorded(Op op) const {
    std::vector<Record> out;
    for (const auto& r : log) {
        if (r.op == op) {
            out.push_back(r);
        }
    }
    return out;
}

}  // namespace platform::fake
