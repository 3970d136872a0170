#include "platform/qt/QtFilePicker.h"

#include <gtest/gtest.h>

#include <vector>

namespace tabulane {
namespace {

TEST(QtFilePicker, ConvertsTheComponentFilterToQtsForm) {
    struct Case {
        const char* filter;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"All Files (*.*)|*.*|", "All Files (*)"},
        {"All Files (*.*)|*.*", "All Files (*)"},
        {"Text (*.txt;*.csv)|*.txt;*.csv|All Files|*.*|", "Text (*.txt *.csv);;All Files (*)"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ConvertFilterToQt(c.filter).toStdString(), c.expected) << c.filter;
    }
}

}  // namespace
}  // namespace tabulane
