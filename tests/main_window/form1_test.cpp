#include "main_window/form1.h"
#include "support/ui.h"

#include <gtest/gtest.h>

TEST(Form1Smoke, Loads) {
    tolvane::Form1 form;
    form.Show();
    test::pump(100);
    EXPECT_EQ(form.control(L"Check1").Value(), 1);
}
