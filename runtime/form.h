#pragma once
// Windows built from a design table, with the classic form model on top:
// controls addressed by designer name, Show loads on first use, Unload
// destroys the window but keeps the instance, and values set from code
// raise the same events as the user's actions.

#include "runtime/design.h"
#include "runtime/handles.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rt {

class Form;

class Control {
public:
    Control(Form& form, const ControlDesign& design, HWND hwnd);

    const ControlDesign& design() const { return *design_; }
    std::wstring_view name() const { return design_->name; }
    int index() const { return design_->index; }
    ControlKind kind() const { return design_->kind; }
    HWND hwnd() const { return hwnd_; }
    bool is(std::wstring_view name, int index = NoIndex) const {
        return design_->name == name && design_->index == index;
    }

    // Text of a text box; setting it raises the box's Change event.
    std::wstring Text() const;
    void SetText(std::wstring_view text);
    // Caption of a label, button or check box.
    std::wstring Caption() const { return Text(); }
    void SetCaption(std::wstring_view caption);
    // Check box state: 0 unticked, 1 ticked, 2 greyed. Setting another
    // value raises the box's Click event before returning.
    int Value() const;
    void SetValue(int value);
    bool Visible() const;
    void SetVisible(bool visible);

    // The bitmap a picture box shows.
    HBITMAP picture() const { return picture_.get(); }

private:
    friend class Form;
    Form* form_;
    const ControlDesign* design_;
    HWND hwnd_;
    BitmapHandle picture_;
};

class Form {
public:
    explicit Form(const FormDesign& design);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Loads the window from its design if it is not loaded (running
    // Form_Load before it is first shown), then shows it and makes it the
    // active window. Modeless and without an owner.
    void Show();
    // Destroys the window and its controls; the instance stays and the next
    // Show loads it afresh.
    void Unload();
    bool loaded() const { return static_cast<bool>(hwnd_); }
    HWND hwnd() const { return hwnd_.get(); }
    const FormDesign& design() const { return *design_; }
    unsigned dpi() const;

    // The control with this designer name (and control-array index).
    Control& control(std::wstring_view name, int index = NoIndex);
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Used by the message loop: the form behind a top-level window, if any.
    static Form* from_window(HWND hwnd);

protected:
    virtual void Form_Load() {}
    // Click of a button or check box (after a check box's Value changed).
    virtual void on_click(Control&) {}
    // Change of a text box's text, by the user or by code.
    virtual void on_change(Control&) {}
    virtual void on_menu(const MenuItemDesign&) {}
    // The close box or the control menu's Close. Unloads unless overridden.
    virtual void on_close_box() { Unload(); }

private:
    friend class Control;
    static LRESULT CALLBACK window_proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void load();
    void create_controls();
    void create_menu();
    HFONT font_for(const FontDesign& font);
    void raise_click(Control& c);
    void place_centred();
    HWND first_focusable() const;

    const FormDesign* design_;
    WindowHandle hwnd_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<const MenuItemDesign*> menu_items_;
    std::vector<std::pair<FontDesign, FontHandle>> fonts_;
    FontHandle default_font_;
    HWND saved_focus_ = nullptr;
};

} // namespace rt
