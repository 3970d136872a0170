#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "shell/Main.h"
#include "support/TempDir.h"
#include "ui/WindowDriver.h"

namespace tabulane::test {

// A fresh window of the suite's toolkit for each scenario, driven through its driver.
class Scenario : public ::testing::Test {
protected:
    std::map<std::string, std::string>& Stored() { return fake.settings.values; }
    // The texts of every box shown so far, error boxes included.
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& box : fake.boxes.shown) {
            texts.push_back(box.text);
        }
        return texts;
    }
    // The default output folder: the desktop with a trailing separator.
    std::string DesktopWithSeparator() const { return fake.environment.desktopFolder + kSeparator; }

    static constexpr char kSeparator = SeparatorOf(kNativePathStyle);

    std::unique_ptr<WindowDriver> owned = MakeWindowDriver();
    WindowDriver& window = *owned;
    FakePlatform& fake = window.Fake();
};

}  // namespace tabulane::test
