#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/ProgramStarter.h"
#include "platform/RandomSource.h"
#include "platform/ShellExecute.h"
#include "support/FakeShell.h"

namespace tabulane {
namespace {

TEST(SplitCommandLine, QuotesKeepAnArgumentWholeAndNothingIsInterpreted) {
    struct Case {
        const char* what;
        std::string commandLine;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"the home-page visit", "explorer \"https://www.tabulane.com/\"", {"explorer", "https://www.tabulane.com/"}},
        {"spaces inside quotes", "open \"my file.txt\" b", {"open", "my file.txt", "b"}},
        {"runs of spaces and tabs separate once", "a  \t b", {"a", "b"}},
        {"an empty quoted argument counts", "a \"\" b", {"a", "", "b"}},
        {"quotes inside a word join its parts", "a\"b c\"d", {"ab cd"}},
        {"shell characters stay text", "a $(rm -rf x);b|c", {"a", "$(rm", "-rf", "x);b|c"}},
        {"an unclosed quote runs to the end", "a \"b c", {"a", "b c"}},
        {"nothing at all", "   ", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(SplitCommandLine(c.commandLine), c.items);
    }
}

TEST(OpeningShellExecutor, OpensTheTargetWithoutTheQuotesThatWrapIt) {
    struct Case {
        std::string file;
        std::string opened;
    };
    const Case cases[] = {{"\"https://www.tabulane.com/tabulane/help/\"", "https://www.tabulane.com/tabulane/help/"},
                          {"/home/user/My Samples", "/home/user/My Samples"},
                          {"\"", "\""},
                          {"\"\"", ""}};
    for (const Case& c : cases) {
        test::FakeShell shell;
        OpeningShellExecutor executor(shell);
        ShellExecuteCall call;
        call.file = c.file;
        executor.ShellExecute(call);
        EXPECT_EQ(shell.opened, std::vector<std::string>{c.opened}) << c.file;
    }
}

// Seeded from every second of a day, as the start-up draw is, 7 comes up about once in a hundred, and every draw is
// a whole number from 1 to 100.
TEST(SeededRandomSource, DrawsFromOneToAHundredEvenlyOverTheSecondsOfADay) {
    SeededRandomSource random;
    std::vector<int> counts(101, 0);
    constexpr int kSecondsPerDay = 86400;
    for (int second = 0; second < kSecondsPerDay; ++second) {
        random.Seed(second + 0.5);
        const double fraction = random.NextFraction();
        ASSERT_GE(fraction, 0.0);
        ASSERT_LT(fraction, 1.0);
        ++counts[static_cast<std::size_t>(fraction * 100) + 1];
    }
    EXPECT_EQ(counts[0], 0);
    for (int draw = 1; draw <= 100; ++draw) {
        // 864 expected; five standard deviations either way.
        EXPECT_NEAR(counts[static_cast<std::size_t>(draw)], 864, 150) << draw;
    }

    SeededRandomSource again;
    random.Seed(3723.5);
    again.Seed(3723.5);
    EXPECT_EQ(random.NextFraction(), again.NextFraction());
    random.Seed(3723.5);
    again.Seed(3723.51);  // a start a hundredth of a second later
    EXPECT_NE(random.NextFraction(), again.NextFraction());
}

}  // namespace
}  // namespace tabulane
