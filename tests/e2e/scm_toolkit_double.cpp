// A stand-in for SCM Toolkit's Units page, just enough of it for Tolvane's
// keystroke script to land somewhere observable: a unit list whose scroll
// bar holds the focus, a Position group with X and Y fields, and the other
// fields the Tabs pass on their way round. It records every key it is given
// and reports, on request or when closed, what it received and where the
// units ended up (see scm_toolkit_double.h).

#include "e2e/scm_toolkit_double.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

enum ControlId { UnitList = 10, ScrollBar, TypeField, OwnerField, XField, YField, Resources, Hp };

struct Options {
    std::wstring title = L"Scm Toolkit";
    int units = scm_double::default_units;
    std::filesystem::path report;
};

Options parse_command_line() {
    Options o;
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring_view name = argv[i];
        if (name == L"--title")
            o.title = argv[i + 1];
        else if (name == L"--units")
            o.units = std::max(1, _wtoi(argv[i + 1]));
        else if (name == L"--report")
            o.report = argv[i + 1];
    }
    LocalFree(argv);
    return o;
}

std::wstring number_text(double v) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.15g", v);
    return buffer;
}

// A field's whole text as a number, or nothing (empty, half typed, letters).
bool parse_number(const std::wstring& text, double& value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    value = std::wcstod(text.c_str(), &end);
    return end == text.c_str() + text.size();
}

class UnitsPage {
public:
    explicit UnitsPage(Options options) : options_(std::move(options)) {
        for (int i = 1; i <= options_.units; ++i)
            units_.push_back(scm_double::initial_position(i));
    }

    bool create();
    // Called for every message the loop takes, before the dialog manager.
    void record(const MSG& msg);
    HWND hwnd() const { return hwnd_; }

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    HWND add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
             int id = 0, DWORD ex_style = 0);
    void select(int unit);
    void show_selected();
    void field_changed(HWND field, double scm_double::Position::*coordinate);
    bool write_report() const;

    Options options_;
    std::vector<scm_double::Position> units_;
    int selected_ = 0;
    bool showing_ = false; // the fields are being filled from the unit, not typed
    HWND hwnd_ = nullptr, list_ = nullptr, scroll_ = nullptr, x_ = nullptr, y_ = nullptr;
    HWND saved_focus_ = nullptr;
    UINT query_message_ = 0;

    int keys_ = 0, modified_keys_ = 0, stray_chars_ = 0, activations_ = 0;
    std::int64_t first_key_us_ = 0, last_key_us_ = 0;
    std::vector<unsigned> sequence_;
};

bool UnitsPage::create() {
    query_message_ = RegisterWindowMessageW(scm_double::QueryMessageName);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &UnitsPage::proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"ScmToolkitDouble";
    RegisterClassExW(&wc);
    // Top left, clear of Tolvane's window, which opens centred.
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, options_.title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                            420, 400, nullptr, nullptr, wc.hInstance, this);
    if (!hwnd_) return false;

    // Creation order is tab order: scroll bar, type, owner, X, Y, resources,
    // hit points, and round to the scroll bar. So three Tabs lead from the
    // scroll bar to X, one to Y and three back to the scroll bar.
    list_ = add(L"LISTBOX", L"", LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER, 8, 8, 200, 340,
                UnitList);
    scroll_ = add(L"SCROLLBAR", L"", SBS_VERT | WS_TABSTOP, 210, 8, 18, 340, ScrollBar);
    add(L"STATIC", L"Unit type", 0, 240, 10, 150, 16);
    add(L"EDIT", L"Mineral Field (Type 1)", WS_TABSTOP | ES_AUTOHSCROLL, 240, 28, 160, 22,
        TypeField, WS_EX_CLIENTEDGE);
    add(L"STATIC", L"Owner", 0, 240, 56, 150, 16);
    add(L"EDIT", L"Player 12", WS_TABSTOP | ES_AUTOHSCROLL, 240, 74, 160, 22, OwnerField,
        WS_EX_CLIENTEDGE);
    add(L"STATIC", L"X", 0, 252, 132, 14, 16);
    x_ =
        add(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 270, 130, 110, 22, XField, WS_EX_CLIENTEDGE);
    add(L"STATIC", L"Y", 0, 252, 162, 14, 16);
    y_ =
        add(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 270, 160, 110, 22, YField, WS_EX_CLIENTEDGE);
    add(L"STATIC", L"Resources", 0, 240, 210, 150, 16);
    add(L"EDIT", L"1500", WS_TABSTOP | ES_AUTOHSCROLL, 240, 228, 160, 22, Resources,
        WS_EX_CLIENTEDGE);
    add(L"STATIC", L"Hit points", 0, 240, 256, 150, 16);
    add(L"EDIT", L"100", WS_TABSTOP | ES_AUTOHSCROLL, 240, 274, 160, 22, Hp, WS_EX_CLIENTEDGE);
    // Last, so that it lies below the fields it frames.
    add(L"BUTTON", L"Position", BS_GROUPBOX, 240, 110, 160, 84);

    // Names only: the selected unit's position shows in X and Y. (Rewriting
    // list items as positions change is slow enough under Wine to make this
    // page, not the sender, set the pace of a long script.)
    for (int i = 1; i <= static_cast<int>(units_.size()); ++i) {
        const std::wstring name = L"Unit " + std::to_wstring(i);
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SCROLLINFO si{
        sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(units_.size()) - 1, 1, 0, 0};
    SetScrollInfo(scroll_, SB_CTL, &si, FALSE);
    select(0);

    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    saved_focus_ = scroll_;
    SetFocus(scroll_);
    return true;
}

HWND UnitsPage::add(const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
                    int h, int id, DWORD ex_style) {
    HWND child = CreateWindowExW(ex_style, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                 hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    return child;
}

void UnitsPage::select(int unit) {
    selected_ = std::clamp(unit, 0, static_cast<int>(units_.size()) - 1);
    SetScrollPos(scroll_, SB_CTL, selected_, TRUE);
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(selected_), 0);
    show_selected();
}

void UnitsPage::show_selected() {
    showing_ = true;
    const auto& p = units_[static_cast<std::size_t>(selected_)];
    SetWindowTextW(x_, number_text(p.x).c_str());
    SetWindowTextW(y_, number_text(p.y).c_str());
    showing_ = false;
}

void UnitsPage::field_changed(HWND field, double scm_double::Position::*coordinate) {
    if (showing_) return;
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
    double value;
    // Like the real page, a field that holds no number yet leaves the unit alone.
    if (!parse_number(text, value)) return;
    units_[static_cast<std::size_t>(selected_)].*coordinate = value;
}

void UnitsPage::record(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        last_key_us_ = scm_double::clock_us();
        if (keys_++ == 0) first_key_us_ = last_key_us_;
        // A system key press carries Alt; the others' state is as of this message.
        if (msg.message == WM_SYSKEYDOWN || (HIWORD(msg.lParam) & KF_ALTDOWN) ||
            ((GetKeyState(VK_SHIFT) | GetKeyState(VK_CONTROL) | GetKeyState(VK_MENU)) & 0x8000))
            ++modified_keys_;
        sequence_.push_back(static_cast<unsigned>(msg.wParam));
        break;
    case WM_CHAR:
        if (msg.hwnd != x_ && msg.hwnd != y_) ++stray_chars_;
        break;
    case WM_SYSCHAR:
        ++stray_chars_;
        break; // never typed into a field
    default:
        break;
    }
}

bool UnitsPage::write_report() const {
    if (options_.report.empty()) return false;
    std::ofstream out(options_.report, std::ios::trunc);
    out << "keys " << keys_ << "\nmodified_keys " << modified_keys_ << "\nstray_chars "
        << stray_chars_ << "\nactivations " << activations_ << "\nfirst_key_us " << first_key_us_
        << "\nlast_key_us " << last_key_us_ << "\nsequence" << std::hex;
    for (unsigned vk : sequence_)
        out << ' ' << vk;
    out << std::dec << '\n';
    out.precision(17);
    for (std::size_t i = 0; i < units_.size(); ++i)
        out << "unit " << i + 1 << ' ' << units_[i].x << ' ' << units_[i].y << '\n';
    return static_cast<bool>(out.flush());
}

LRESULT CALLBACK UnitsPage::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* page = reinterpret_cast<UnitsPage*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!page || !page->hwnd_) return DefWindowProcW(hwnd, msg, wp, lp);
    return page->handle(msg, wp, lp);
}

LRESULT UnitsPage::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == query_message_) {
        switch (wp) {
        case scm_double::KeysReceived:
            return keys_;
        case scm_double::Activations:
            return activations_;
        case scm_double::WriteReport:
            return write_report() ? 1 : 0;
        default:
            return 0;
        }
    }
    switch (msg) {
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lp) != scroll_) break;
        switch (LOWORD(wp)) {
        case SB_LINEDOWN:
            select(selected_ + 1);
            break;
        case SB_LINEUP:
            select(selected_ - 1);
            break;
        case SB_PAGEDOWN:
            select(selected_ + 10);
            break;
        case SB_PAGEUP:
            select(selected_ - 10);
            break;
        case SB_TOP:
            select(0);
            break;
        case SB_BOTTOM:
            select(static_cast<int>(units_.size()) - 1);
            break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
            select(HIWORD(wp));
            break;
        default:
            break;
        }
        return 0;
    case WM_COMMAND:
        if (HIWORD(wp) == EN_CHANGE && LOWORD(wp) == XField)
            field_changed(x_, &scm_double::Position::x);
        else if (HIWORD(wp) == EN_CHANGE && LOWORD(wp) == YField)
            field_changed(y_, &scm_double::Position::y);
        return 0;
    case WM_ACTIVATE:
        // Keep the focus where it was, as a dialog does, rather than on the frame.
        if (LOWORD(wp) == WA_INACTIVE) {
            if (HWND focus = GetFocus(); focus && IsChild(hwnd_, focus)) saved_focus_ = focus;
        } else {
            ++activations_;
            SetFocus(saved_focus_ ? saved_focus_ : scroll_);
        }
        return 0;
    case WM_CLOSE:
        write_report();
        DestroyWindow(hwnd_);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    UnitsPage page(parse_command_line());
    if (!page.create()) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        page.record(msg);
        if (!IsDialogMessageW(page.hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return 0;
}
