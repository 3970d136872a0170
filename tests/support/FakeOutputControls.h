#pragma once

#include <string>

#include "platform/OutputControls.h"

namespace tabulane::test {

class FakeOutputControls final : public OutputControls {
public:
    bool Option1Selected() const override { return option1; }
    bool Option2Selected() const override { return option2; }
    std::string Text1Text() const override { return text1; }

    bool option1 = true;
    bool option2 = false;
    std::string text1;
};

}  // namespace tabulane::test
