#include "cli/CommandLine.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "platform/AsciiText.h"
#include "platform/TextCodes.h"

namespace tabulane {

namespace {

constexpr char kQuote = '"';
constexpr char kSpace = ' ';
const std::string kCrLf = "\r\n";
const std::string kQuoteText(1, kQuote);

// Load-step number that makes the conversion call; an escape from it is reported like any start-up failure.
constexpr int kConvertStep = 266;

// Tokens from index first on, each followed by one space.
std::string JoinTokens(const std::vector<std::string>& tokens, std::size_t first) {
    std::string line;
    for (std::size_t i = first; i < tokens.size(); ++i) {
        line += tokens[i];
        line += kSpace;
    }
    return line;
}

std::string RemoveQuotes(std::string text) {
    std::erase(text, kQuote);
    return text;
}

// The text after position from to the end, or "" when from lies beyond the end.
std::string TextFrom(const std::string& line, std::size_t from) {
    return from < line.size() ? line.substr(from) : "";
}

// Both paths and the Character from a joined line that opens with a quoted input path. Every position is checked
// against the line's length, so an argument text of any shape ends in the usage check, never out of bounds.
void ParseQuotedInput(const std::string& line, CommandLineArguments& arguments) {
    const std::size_t inputEnd = line.find(kQuote, 1);
    if (inputEnd == std::string::npos || inputEnd == 1) {
        return;
    }
    arguments.inputPath = line.substr(1, inputEnd - 1);

    // The character right after the closing quote is skipped unseen.
    const std::size_t outputStart = inputEnd + 2;
    if (outputStart >= line.size()) {
        return;
    }
    std::size_t searchFrom = 0;
    if (line[outputStart] == kQuote) {
        const std::size_t outputEnd = line.find(kQuote, outputStart + 1);
        if (outputEnd == std::string::npos) {
            return;
        }
        arguments.outputPath = line.substr(outputStart + 1, outputEnd - outputStart - 1);
        searchFrom = outputEnd + 1;
    } else {
        std::size_t outputEnd = line.find(kSpace, outputStart);
        if (outputEnd == std::string::npos) {
            outputEnd = line.size();  // not reached: the joined line ends with a space
        }
        arguments.outputPath = line.substr(outputStart, outputEnd - outputStart);
        searchFrom = outputEnd + 1;
    }

    // With a quoted input the Character has to be quoted as well: whatever precedes its opening quote is skipped.
    const std::size_t characterQuote = searchFrom < line.size() ? line.find(kQuote, searchFrom) : std::string::npos;
    if (characterQuote != std::string::npos) {
        arguments.character = RemoveQuotes(line.substr(characterQuote + 1));
    }
}

// The output path and the Character from tokens 2 on, when token 2 opens a quoted output path.
void ParseQuotedOutput(const std::vector<std::string>& tokens, CommandLineArguments& arguments) {
    const std::string line = JoinTokens(tokens, 1);
    const std::size_t outputEnd = line.find(kQuote, 1);
    if (outputEnd == std::string::npos || outputEnd == 1) {
        return;
    }
    arguments.outputPath = line.substr(1, outputEnd - 1);
    arguments.character = RemoveQuotes(TextFrom(line, outputEnd + 2));
}

// For each token, whether it lies inside a quoted path: from a token that opens the quoted input (token 1) or the
// quoted output (token 2, or the one after a quoted input) to the token that closes it. An option word there is
// part of the path, so the option scan leaves it alone.
std::vector<bool> QuotedPathTokens(const std::vector<std::string>& tokens) {
    std::vector<bool> quoted(tokens.size(), false);
    // Marks the tokens from first to the one holding the closing quote and returns the token after it; a quote
    // that never closes marks nothing (the parse finds no path there) and returns 0.
    const auto markQuoted = [&](std::size_t first) -> std::size_t {
        for (std::size_t i = first, from = 1; i < tokens.size(); ++i, from = 0) {
            if (tokens[i].find(kQuote, from) != std::string::npos) {
                std::fill(quoted.begin() + static_cast<std::ptrdiff_t>(first),
                          quoted.begin() + static_cast<std::ptrdiff_t>(i) + 1, true);
                return i + 1;
            }
        }
        return 0;
    };
    const auto opensQuote = [&](std::size_t i) {
        return i < tokens.size() && !tokens[i].empty() && tokens[i].front() == kQuote;
    };
    if (opensQuote(0)) {
        const std::size_t next = markQuoted(0);
        // The output path starts one character after the closing quote: a token of its own when the quote ends one.
        if (next > 0 && tokens[next - 1].back() == kQuote && opensQuote(next)) {
            markQuoted(next);
        }
    } else if (opensQuote(1)) {
        markQuoted(1);
    }
    return quoted;
}

}  // namespace

std::vector<std::string> SplitArgumentText(const std::string& argumentText) {
    std::vector<std::string> tokens;
    if (argumentText.empty()) {
        return tokens;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t space = argumentText.find(kSpace, start);
        if (space == std::string::npos) {
            tokens.push_back(argumentText.substr(start));
            return tokens;
        }
        tokens.push_back(argumentText.substr(start, space - start));
        start = space + 1;
    }
}

CommandLineArguments ParseCommandLine(const std::string& argumentText) {
    CommandLineArguments arguments;
    std::vector<std::string> tokens = SplitArgumentText(argumentText);
    if (tokens.empty()) {
        return arguments;
    }

    // Blanking instead of removing keeps every later token at its position.
    const std::vector<bool> inQuotedPath = QuotedPathTokens(tokens);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (!inQuotedPath[i] && (tokens[i] == "-c" || tokens[i] == "-cs")) {
            arguments.option = tokens[i];
            tokens[i].clear();
        }
    }

    const std::string line = JoinTokens(tokens, 0);
    if (line.front() == kQuote) {
        ParseQuotedInput(line, arguments);
        return arguments;
    }

    arguments.inputPath = tokens[0];
    if (tokens.size() >= 2 && !tokens[1].empty() && tokens[1].front() == kQuote) {
        ParseQuotedOutput(tokens, arguments);
        return arguments;
    }
    if (tokens.size() >= 2) {
        arguments.outputPath = tokens[1];
    }
    arguments.character = RemoveQuotes(JoinTokens(tokens, 2));
    return arguments;
}

std::string NormaliseCharacter(const std::string& character) {
    if (character.empty()) {
        return character;
    }
    std::string trimmed(Trim(character, std::string_view(&kSpace, 1)));
    if (trimmed.empty()) {
        return std::string(1, kSpace);
    }
    if (trimmed == "TABS") {
        return "\t";
    }
    if (trimmed == "ENTERS") {
        return "\n";
    }
    return trimmed;
}

std::string UsageText1() {
    const std::string& q = kQuoteText;
    return "Usage: tabulane <Input File> <Output File> " + q + "<Character>" + q + "<option>" + kCrLf +
           "where <Character> can be " + q + "TABS" + q + " or " + q + " " + q + " or " + q + "ENTERS" + q +
           " or any." + kCrLf + "and <Option> can be -c(comma only) or -cs(comma and space)" + kCrLf + kCrLf +
           "Example: tabulane TestFile.txt OutputFile.csv " + q + ", " + q + " -cs";
}

std::string UsageText2() {
    const std::string& q = kQuoteText;
    const std::string nl2 = kCrLf + kCrLf;
    return "Usage:" + nl2 + "tabulane <Input File> <Output File> " + q + "<Character>" + q + "<option>" + nl2 +
           "where <Character> can be " + q + "TABS" + q + " or " + q + " " + q + " or " + q + "ENTERS" + q +
           " or any other separating character(s)." + nl2 +
           "where <Option> can be -c(comma only) or -cs(comma and space)" + nl2 + "Example:" + nl2 +
           "tabulane TestFile.txt OutputFile.csv " + q + "ENTERS" + q + " -cs";
}

bool ArgumentsComplete(const CommandLineArguments& arguments) {
    // The Character is tested untrimmed: a Character of spaces only passes and means one space.
    return !arguments.inputPath.empty() && !arguments.outputPath.empty() && !arguments.character.empty() &&
           (arguments.option == "-cs" || arguments.option == "-c");
}

bool ArgumentsFitText(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i] != nullptr ? argv[i] : "";
        if (argument.find(kSpace) != std::string_view::npos && argument.find(kQuote) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::string ArgumentTextFromArgv(int argc, const char* const* argv) {
    std::string text;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i] != nullptr ? argv[i] : "";
        if (i > 1) {
            text += kSpace;
        }
        if (argument.empty() || argument.find(kSpace) != std::string::npos) {
            text += kQuote + argument + kQuote;
        } else {
            text += argument;
        }
    }
    return text;
}

std::string ArgumentTextFromRawCommandLine(std::string_view commandLine) {
    std::size_t end = 0;
    if (commandLine.starts_with('"')) {
        end = commandLine.find('"', 1);
        end = end == std::string_view::npos ? commandLine.size() : end + 1;
    } else {
        end = std::min(commandLine.find_first_of(" \t"), commandLine.size());
    }
    const std::size_t start = commandLine.find_first_not_of(" \t", end);
    return start == std::string_view::npos ? std::string() : std::string(commandLine.substr(start));
}

std::string ProgramArgumentText([[maybe_unused]] int argc, [[maybe_unused]] const char* const* argv) {
#ifdef _WIN32
    // Windows hands the program one line: taken whole, the quoting reaches the parser as the user typed it, and
    // the wide form keeps every character (narrow argv is in the ANSI code page).
    return ArgumentTextFromRawCommandLine(RawCommandLine());
#else
    return ArgumentTextFromArgv(argc, argv);
#endif
}

int RunCommandLine(const std::string& argumentText, ConversionServices& services, MessageBoxes& boxes,
                   const std::string& applicationTitle, bool argumentsFitText) {
    if (argumentText.empty()) {
        return kExitSuccess;  // no token: the caller starts the window instead
    }
    const CommandLineArguments arguments = ParseCommandLine(argumentText);
    if (!argumentsFitText || !ArgumentsComplete(arguments)) {
        boxes.ShowMessage(UsageText1(), applicationTitle, BoxIcon::None, BoxButtons::Ok);
        return kExitUsage;
    }

    const std::string character = NormaliseCharacter(arguments.character);
    const bool collapseSpaces = character == " ";
    const bool commaSpace = arguments.option == "-cs";

    // The conversion reports its own failures; the trap only keeps an escaping one from passing unreported.
    ErrorTrap trap(services.reporter, "Form1", "Form_Load");
    trap.Step(kConvertStep, [&] {
        ConvertToCSVInFile(services, arguments.inputPath, character, commaSpace, arguments.outputPath, collapseSpaces);
    });
    // The reporter serves the whole start: a script sees a failure whenever the user was shown an error box, be it
    // the conversion's or one of an earlier load step (a skin that does not load).
    return services.reporter.ReportCount() > 0 ? kExitFailure : kExitSuccess;
}

}  // namespace tabulane
