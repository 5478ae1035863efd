#pragma once
// The About window.

#include "runtime/form.h"

namespace tolvane {

class Form3 : public rt::Form {
public:
    Form3();

    void Command1_Click(); // Close This Window

protected:
    void on_click(rt::Control& c) override;
};

} // namespace tolvane
