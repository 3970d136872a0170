// The argument text through parsing, normalising and the usage decision.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsOptionWord(const std::string& text) {
    return text == "-c" || text == "-cs";
}

// Invariants of any parse: the option is one of the two words or empty, no quote survives in the Character,
// normalising never grows the text and gives no surrounding spaces.
void CheckParse(const std::string& text) {
    const tabulane::CommandLineArguments parsed = tabulane::ParseCommandLine(text);
    Check(parsed.option.empty() || IsOptionWord(parsed.option));
    Check(parsed.character.find('"') == std::string::npos);
    const std::string character = tabulane::NormaliseCharacter(parsed.character);
    Check(character.size() <= parsed.character.size() || parsed.character.empty());
    Check(character == " " || character.empty() || (character.front() != ' ' && character.back() != ' '));
    Check(tabulane::ArgumentsComplete(parsed) == (!parsed.inputPath.empty() && !parsed.outputPath.empty() &&
                                                  !parsed.character.empty() && !parsed.option.empty()));
    const std::vector<std::string> tokens = tabulane::SplitArgumentText(text);
    Check(text.empty() ? tokens.empty()
                       : tokens.size() == static_cast<std::size_t>(std::count(text.begin(), text.end(), ' ')) + 1);
}

// Splits the fuzz data at NUL bytes into argv words.
std::vector<std::string> Words(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.emplace_back();
        } else {
            words.back() += static_cast<char>(data[i]);
        }
    }
    return words;
}

// Arguments written as a user would (input, output, Character, option) come back as they were: the paths
// exactly, whatever option words or spaces they hold; the Character when the input needs no quotes.
void CheckRoundTrip(const std::vector<std::string>& words) {
    if (words.size() != 4) {
        return;
    }
    const std::string& input = words[0];
    const std::string& output = words[1];
    const std::string& character = words[2];
    const std::string& option = words[3];
    for (const std::string& path : {input, output}) {
        if (path.empty() || path.find('"') != std::string::npos || IsOptionWord(path) ||
            path.find_first_of("\r\n\t") != std::string::npos) {
            return;
        }
    }
    if (!IsOptionWord(option) || character.empty() || character.find_first_of("\" ") != std::string::npos ||
        IsOptionWord(character)) {
        return;
    }
    std::vector<const char*> argv{"tabulane"};
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    const int argc = static_cast<int>(argv.size());
    Check(tabulane::ArgumentsFitText(argc, argv.data()));
    const tabulane::CommandLineArguments parsed =
        tabulane::ParseCommandLine(tabulane::ArgumentTextFromArgv(argc, argv.data()));
    Check(parsed.inputPath == input);
    Check(parsed.outputPath == output);
    Check(parsed.option == option);
    if (input.find(' ') == std::string::npos) {
        Check(tabulane::NormaliseCharacter(parsed.character) == tabulane::NormaliseCharacter(character));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckParse(std::string(reinterpret_cast<const char*>(data), size));
    const std::vector<std::string> words = Words(data, size);
    CheckRoundTrip(words);
    std::vector<const char*> argv{"tabulane"};
    for (const std::string& word : words) {
        argv.push_back(word.c_str());
    }
    const int argc = static_cast<int>(argv.size());
    const std::string text = tabulane::ArgumentTextFromArgv(argc, argv.data());
    CheckParse(text);
    return 0;
}
