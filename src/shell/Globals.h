#pragma once

#include <string>

namespace tabulane {

// Values shared between modules.
inline constexpr const char* kProductTitle = "Tabulane";
inline constexpr const char* kProductSite = "https://www.tabulane.com";
inline constexpr const char* kSupportAddress = "support@tabulane.com";
inline constexpr const char* kErrorBoxCaption = "Application Error";

// The caption of message boxes that have no caption of their own: the title cut back word by word
// (at least once, then while longer than 40 characters). A title without a space is used whole.
std::string MakeApplicationTitle(const std::string& productTitle);

}  // namespace tabulane
