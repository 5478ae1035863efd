#include "runtime/form.h"

#include "runtime/errors.h"
#include "runtime/program.h"

#include <algorithm>

namespace rt {

namespace {

constexpr wchar_t FormClass[] = L"TolvaneForm";
constexpr wchar_t PictureClass[] = L"TolvanePicture";
// Child ids stay clear of IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape: no button of ours may answer to those keys.
constexpr int FirstControlId = 100;
constexpr int FirstMenuId = 1000;
constexpr int InvalidPropertyValue = 380;

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

// Paints its bitmap pixel for pixel from the top-left corner inside the
// border, clipped to the box: never scaled, never resized to the picture.
LRESULT CALLBACK picture_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
            BITMAP info{};
            GetObjectW(bitmap, sizeof info, &info);
            HDC mem = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(mem, bitmap);
            BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
            SelectObject(mem, old);
            DeleteDC(mem);
        }
        EndPaint(hwnd, &ps);
        return 0;
    }
    if (msg == WM_LBUTTONDOWN) {
        SetFocus(hwnd); // a picture box takes the focus like any control that can
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void register_classes(WNDPROC form_proc) {
    static const bool registered = [form_proc] {
        WNDCLASSEXW form{};
        form.cbSize = sizeof form;
        form.style = CS_DBLCLKS;
        form.lpfnWndProc = form_proc;
        form.hInstance = instance();
        form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        form.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        form.lpszClassName = FormClass;
        RegisterClassExW(&form);

        WNDCLASSEXW picture{};
        picture.cbSize = sizeof picture;
        picture.lpfnWndProc = &picture_proc;
        picture.hInstance = instance();
        picture.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        picture.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        picture.lpszClassName = PictureClass;
        RegisterClassExW(&picture);
        return true;
    }();
    (void)registered;
}

struct ChildStyle {
    const wchar_t* window_class;
    DWORD style;
    DWORD ex_style;
};

ChildStyle child_style(const ControlDesign& d) {
    const DWORD common = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    const DWORD align_static = d.align == Align::Center  ? SS_CENTER
                               : d.align == Align::Right ? SS_RIGHT
                                                         : SS_LEFT;
    const DWORD align_edit = d.align == Align::Center  ? ES_CENTER
                             : d.align == Align::Right ? ES_RIGHT
                                                       : ES_LEFT;
    switch (d.kind) {
    case ControlKind::Label:
        return {L"STATIC", common | align_static, 0};
    case ControlKind::TextBox:
        return {L"EDIT", common | WS_TABSTOP | ES_AUTOHSCROLL | align_edit, WS_EX_CLIENTEDGE};
    case ControlKind::CheckBox:
        // Not an automatic box: the form sets the new value itself so that a
        // user's click and a value set from code raise Click the same way.
        return {L"BUTTON", common | WS_TABSTOP | BS_3STATE, 0};
    case ControlKind::CommandButton:
        return {L"BUTTON", common | WS_TABSTOP | BS_PUSHBUTTON, 0};
    case ControlKind::PictureBox:
        return {PictureClass, common | WS_TABSTOP, WS_EX_CLIENTEDGE};
    }
    return {L"STATIC", common, 0};
}

} // namespace

// ---- Control -------------------------------------------------------------

Control::Control(Form& form, const ControlDesign& design, HWND hwnd)
    : form_(&form), design_(&design), hwnd_(hwnd) {}

std::wstring Control::Text() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void Control::SetText(std::wstring_view text) {
    // The edit control notifies EN_CHANGE from inside WM_SETTEXT, so the
    // Change handler runs nested in this call, as code relying on it expects.
    const std::wstring copy(text);
    if (!SetWindowTextW(hwnd_, copy.c_str())) throw RuntimeError(err::OutOfMemory);
}

void Control::SetCaption(std::wstring_view caption) {
    const std::wstring copy(caption);
    SetWindowTextW(hwnd_, copy.c_str());
}

int Control::Value() const {
    switch (SendMessageW(hwnd_, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED:
        return 1;
    case BST_INDETERMINATE:
        return 2;
    default:
        return 0;
    }
}

void Control::SetValue(int value) {
    if (value < 0 || value > 2) throw RuntimeError(InvalidPropertyValue);
    if (value == Value()) return;
    const WPARAM state = value == 1 ? BST_CHECKED : value == 2 ? BST_INDETERMINATE : BST_UNCHECKED;
    SendMessageW(hwnd_, BM_SETCHECK, state, 0);
    form_->raise_click(*this);
}

bool Control::Visible() const {
    return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool visible) {
    const bool had_focus = GetFocus() == hwnd_;
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
    // A hidden control cannot keep the focus: pass it on in tab order.
    if (!visible && had_focus) {
        if (HWND next = GetNextDlgTabItem(form_->hwnd(), hwnd_, FALSE)) SetFocus(next);
    }
}

// ---- Form ----------------------------------------------------------------

Form::Form(const FormDesign& design) : design_(&design) {}

Form::~Form() {
    if (hwnd_) SetWindowLongPtrW(hwnd_.get(), GWLP_USERDATA, 0);
}

Form* Form::from_window(HWND hwnd) {
    wchar_t name[32];
    if (!hwnd || !GetClassNameW(hwnd, name, 32) || std::wstring_view(name) != FormClass)
        return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

unsigned Form::dpi() const {
    if (hwnd_) return GetDpiForWindow(hwnd_.get());
    return GetDpiForSystem();
}

Control& Form::control(std::wstring_view name, int index) {
    for (auto& c : controls_)
        if (c->is(name, index)) return *c;
    // Asking for a control that the design does not hold, or of a window
    // that is not loaded, is a programming error surfaced like the classic one.
    throw RuntimeError(340); // control array element does not exist
}

void Form::Show() {
    if (!loaded()) load();
    HWND w = hwnd_.get();
    if (IsIconic(w))
        ShowWindow(w, SW_RESTORE);
    else
        ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    BringWindowToTop(w);
}

void Form::Unload() {
    if (!loaded()) return;
    HWND w = hwnd_.release();
    SetWindowLongPtrW(w, GWLP_USERDATA, 0);
    DestroyWindow(w);
    controls_.clear();
    menu_items_.clear();
    fonts_.clear();
    default_font_.reset();
    saved_focus_ = nullptr;
}

void Form::load() {
    register_classes(&Form::window_proc);
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const std::wstring caption(design_->caption);
    HWND w = CreateWindowExW(WS_EX_CONTROLPARENT, FormClass, caption.c_str(), style, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                             instance(), this);
    if (!w) throw RuntimeError(err::OutOfMemory);
    hwnd_.reset(w);

    create_menu();
    create_controls();
    place_centred();
    Form_Load();
}

void Form::create_menu() {
    if (design_->menus.empty()) return;
    HMENU bar = CreateMenu();
    for (const MenuDesign& menu : design_->menus) {
        HMENU popup = CreatePopupMenu();
        for (const MenuItemDesign& item : menu.items) {
            const std::wstring caption(item.caption);
            AppendMenuW(popup, MF_STRING, FirstMenuId + menu_items_.size(), caption.c_str());
            menu_items_.push_back(&item);
        }
        const std::wstring caption(menu.caption);
        AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
    }
    SetMenu(hwnd_.get(), bar);
}

HFONT Form::font_for(const FontDesign& font) {
    if (font == DefaultFont) {
        if (!default_font_) {
            // The window's default font: the system's message font.
            NONCLIENTMETRICSW metrics{};
            metrics.cbSize = sizeof metrics;
            SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi());
            default_font_.reset(CreateFontIndirectW(&metrics.lfMessageFont));
        }
        return default_font_.get();
    }
    for (auto& [design, handle] : fonts_)
        if (design == font) return handle.get();
    LOGFONTW lf{};
    lf.lfHeight = -points_to_pixels(font.centipoints, dpi());
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    wcscpy_s(lf.lfFaceName, L"Verdana");
    fonts_.emplace_back(font, FontHandle(CreateFontIndirectW(&lf)));
    return fonts_.back().second.get();
}

void Form::create_controls() {
    const unsigned d = dpi();
    // Windowed controls are created in tab order, which the dialog manager
    // follows for Tab and Shift+Tab; labels go last, to the bottom of the
    // z-order, so that where they overlap a windowed control it lies on top.
    std::vector<const ControlDesign*> order;
    for (const ControlDesign& c : design_->controls)
        order.push_back(&c);
    std::stable_sort(order.begin(), order.end(), [](auto* a, auto* b) {
        const bool a_label = a->kind == ControlKind::Label;
        const bool b_label = b->kind == ControlKind::Label;
        if (a_label != b_label) return b_label;
        return a->tab_index < b->tab_index;
    });

    HWND previous = HWND_TOP;
    for (const ControlDesign* c : order) {
        const ChildStyle s = child_style(*c);
        const std::wstring caption(c->caption);
        const int id = FirstControlId + static_cast<int>(controls_.size());
        HWND child = CreateWindowExW(
            s.ex_style, s.window_class, caption.c_str(), s.style, twips_to_pixels(c->left, d),
            twips_to_pixels(c->top, d), twips_to_pixels(c->width, d), twips_to_pixels(c->height, d),
            hwnd_.get(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
        if (!child) throw RuntimeError(err::OutOfMemory);
        SetWindowPos(child, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = child;
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_for(c->font)), FALSE);
        auto control = std::make_unique<Control>(*this, *c, child);
        if (c->kind == ControlKind::PictureBox && c->picture) {
            control->picture_.reset(
                static_cast<HBITMAP>(LoadImageW(instance(), MAKEINTRESOURCEW(c->picture),
                                                IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            SetWindowLongPtrW(child, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(control->picture_.get()));
        }
        controls_.push_back(std::move(control));
    }
}

void Form::place_centred() {
    const unsigned d = dpi();
    RECT r{0, 0, twips_to_pixels(design_->client_width, d),
           twips_to_pixels(design_->client_height, d)};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_.get(), GWL_STYLE));
    const DWORD ex_style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_.get(), GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&r, style, GetMenu(hwnd_.get()) != nullptr, ex_style, d);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    SetWindowPos(hwnd_.get(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    // A menu bar that wraps would eat into the client area: grow to keep it.
    RECT client;
    GetClientRect(hwnd_.get(), &client);
    const int missing = twips_to_pixels(design_->client_height, d) - client.bottom;
    if (missing > 0)
        SetWindowPos(hwnd_.get(), nullptr, x, y, width, height + missing,
                     SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND Form::first_focusable() const {
    // Controls were created in tab order, so the dialog manager's next tab
    // item after the last one is the first that can take the focus.
    return GetNextDlgTabItem(hwnd_.get(), nullptr, FALSE);
}

void Form::raise_click(Control& c) {
    guarded([&] { on_click(c); });
}

LRESULT CALLBACK Form::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // Until load() has taken ownership of the handle the form is not ready.
    if (form && form->hwnd_.get() != hwnd) form = nullptr;
    if (!form) return DefWindowProcW(hwnd, msg, wp, lp);
    return form->handle(msg, wp, lp);
}

LRESULT Form::handle(UINT msg, WPARAM wp, LPARAM lp) {
    HWND w = hwnd_.get();
    switch (msg) {
    case WM_COMMAND: {
        const int id = LOWORD(wp);
        const int code = HIWORD(wp);
        if (lp == 0 && code == 0 && id >= FirstMenuId &&
            id < FirstMenuId + static_cast<int>(menu_items_.size())) {
            const MenuItemDesign& item = *menu_items_[static_cast<std::size_t>(id - FirstMenuId)];
            guarded([&] { on_menu(item); });
            return 0;
        }
        const int slot = id - FirstControlId;
        if (lp == 0 || slot < 0 || slot >= static_cast<int>(controls_.size())) return 0;
        Control& c = *controls_[static_cast<std::size_t>(slot)];
        if (c.kind() == ControlKind::TextBox && code == EN_CHANGE) {
            guarded([&] { on_change(c); });
        } else if (c.kind() == ControlKind::CommandButton && code == BN_CLICKED) {
            raise_click(c);
        } else if (c.kind() == ControlKind::CheckBox && code == BN_CLICKED) {
            // A user's click toggles between ticked and unticked.
            const int next = c.Value() == 1 ? 0 : 1;
            SendMessageW(c.hwnd(), BM_SETCHECK, next == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
            raise_click(c);
        }
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(w, focus)) saved_focus_ = focus;
        } else {
            HWND target = saved_focus_;
            if (!target || !IsWindow(target) || !IsWindowVisible(target) ||
                !IsWindowEnabled(target))
                target = first_focusable();
            if (target) SetFocus(target);
        }
        return 0;
    case WM_CLOSE:
        guarded([&] { on_close_box(); });
        return 0;
    case DM_GETDEFID: {
        // The dialog manager asks this on Enter. No button is the default one,
        // but, as in a dialog, Enter presses the push button that has the focus.
        HWND focus = GetFocus();
        for (const auto& c : controls_)
            if (c->hwnd() == focus && c->kind() == ControlKind::CommandButton)
                return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

} // namespace rt
