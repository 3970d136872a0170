#pragma once

#include <string>

namespace tabulane {

// What the conversion reads from the main window to derive an output path.
class OutputControls {
public:
    virtual ~OutputControls() = default;

    virtual bool Option1Selected() const = 0;   // "Save results to this folder:"
    virtual bool Option2Selected() const = 0;   // "Save results in folder of original file"
    virtual std::string Text1Text() const = 0;  // the output folder
};

}  // namespace tabulane
