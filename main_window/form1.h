#pragma once
// The main window: eight player rows, the two count boxes with the unit
// counter, Clear All, the stacking run and the menus.

#include "help_windows/form2.h"
#include "help_windows/form3.h"
#include "runtime/form.h"

#include <memory>

namespace tolvane {

class Form1 : public rt::Form {
public:
    Form1();
    ~Form1() override;

    void Form_Load() override;
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void Check7_Click();
    void Check8_Click();
    void Command1_Click(); // Stack It!
    void Command2_Click(); // Clear All (button)
    void ClearAll_Click(); // File > Clear All
    void Exit_Click();
    void Instructions_Click();
    void About_Click();
    void numOfPatches_Change();
    void currentUnits_Change();

    // The help windows' program-wide instances; empty until first opened.
    Form2* instructions_window() { return form2_.get(); }
    Form3* about_window() { return form3_.get(); }

protected:
    void on_click(rt::Control& c) override;
    void on_change(rt::Control& c) override;
    void on_menu(const rt::MenuItemDesign& item) override;
    void on_close_box() override;

private:
    rt::Control& check(int player);
    void set_boxes_visible(int player, bool visible);
    // What the Click handlers of every row but the seventh do.
    void show_or_hide_row(int player);
    enum class ChangedBox { NumOfPatches, CurrentUnits };
    void update_unit_counter(ChangedBox changed);
    void clear_all();

    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
};

} // namespace tolvane
