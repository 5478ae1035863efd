#pragma once
// The main window: eight player rows, the two count boxes with the unit
// counter, Clear All, the stacking run and the menus.

#include "runtime/form.h"

namespace tolvane {

class Form1 : public rt::Form {
public:
    Form1();

    void Form_Load() override;
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void Check7_Click();
    void Check8_Click();

protected:
    void on_click(rt::Control& c) override;
    void on_change(rt::Control& c) override;
    void on_menu(const rt::MenuItemDesign& item) override;
    void on_close_box() override;

private:
    // Row N's check box and its four coordinate boxes.
    rt::Control& check(int player);
    void set_boxes_visible(int player, bool visible);
    // What the Click handlers of every row but the seventh do.
    void show_or_hide_row(int player);
};

} // namespace tolvane
