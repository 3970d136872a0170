#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "convert/AddRemove.h"
#include "platform/ExitStatus.h"
#include "platform/MessageBoxes.h"

namespace tabulane {

// What the parser found in the argument text, before the Character is normalised.
struct CommandLineArguments {
    std::string inputPath;
    std::string outputPath;
    std::string character;
    std::string option;
};

// The argument text split at every single space; consecutive spaces give empty tokens; "" gives none.
std::vector<std::string> SplitArgumentText(const std::string& argumentText);

// Parses the argument text (its tokens, quoted paths and Character) as the command-line grammar says.
CommandLineArguments ParseCommandLine(const std::string& argumentText);

// Whether the parse found everything a conversion needs: both paths, a Character and the option "-c" or "-cs".
bool ArgumentsComplete(const CommandLineArguments& arguments);

// The Character as the conversion uses it: all spaces -> " ", else trimmed; "TABS" -> tab, "ENTERS" -> line feed.
std::string NormaliseCharacter(const std::string& character);

// The usage shown for wrong arguments, and the one shown by the command-line help button.
std::string UsageText1();
std::string UsageText2();

// argv[1..] joined with single spaces; an argument that is empty or holds a space is wrapped in double quotes.
std::string ArgumentTextFromArgv(int argc, const char* const* argv);
// False when an argument holds both a space and a double quote: the argument text has no way to write it, so
// the parse would take it apart.
bool ArgumentsFitText(int argc, const char* const* argv);

// A raw command line less the program name (quoted: up to the closing quote; else up to the first space or tab)
// and the spaces and tabs after it; the rest is kept exactly, the user's own quoting included.
std::string ArgumentTextFromRawCommandLine(std::string_view commandLine);

// The running program's argument text: the raw command line on Windows, argv elsewhere.
std::string ProgramArgumentText(int argc, const char* const* argv);

// Runs the command-line mode on a non-empty argument text: the usage box or one conversion.
// Returns the exit status: kExitUsage when the usage was shown, else kExitFailure when the reporter has
// reported any error (the conversion's or an earlier load step's), else kExitSuccess.
// Arguments that do not fit the text (ArgumentsFitText) show the usage.
int RunCommandLine(const std::string& argumentText, ConversionServices& services, MessageBoxes& boxes,
                   const std::string& applicationTitle, bool argumentsFitText = true);

}  // namespace tabulane
