#pragma once
// The Instructions window: three illustrated pages switched by the stage buttons.

#include "runtime/form.h"

namespace tolvane {

class Form2 : public rt::Form {
public:
    Form2();

    void Form_Load() override;
    void Command1_Click(); // Close This Window
    void Command2_Click(); // Stacking: Stage 1
    void Command4_Click(); // Stacking: Stage 2
    void Command3_Click(); // Stacking: Stage 3

protected:
    void on_click(rt::Control& c) override;
};

} // namespace tolvane
