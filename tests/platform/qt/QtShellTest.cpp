#include "platform/qt/QtShell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tabulane {
namespace {

// Only the address is checked: opening it would start the desktop's browser or file manager.
TEST(QtShell, OpensAddressesAsTheyAreAndPathsAsLocalFiles) {
    struct Case {
        std::string target;
        std::string url;
    };
    const std::vector<Case> cases = {
        {"https://www.tabulane.com/tabulane/help/", "https://www.tabulane.com/tabulane/help/"},
        {"mailto:support@tabulane.com", "mailto:support@tabulane.com"},
        {"/opt/tabulane/Samples/", "file:///opt/tabulane/Samples/"},
        {"/home/a user/100% #1/", "file:///home/a%20user/100%25%20%231/"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QtShell::UrlFor(c.target).toString(QUrl::FullyEncoded).toStdString(), c.url) << c.target;
    }
}

}  // namespace
}  // namespace tabulane
