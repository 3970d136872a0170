#include <gtest/gtest.h>

#include "shell/ErrorReport.h"

TEST(ErrorReport, ComposesText) { EXPECT_EQ(tabulane::MakeLocation("Form1", "Form_Load"), "Tabulane2021/08/31.Form1.Form_Load"); }
