#include "platform/qt/QtEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/ScopedVariable.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

// The default output folder on an account as it is set up: Qt names the desktop from HOME and the user-dirs file
// under XDG_CONFIG_HOME, both pointed at a fresh folder here.
class QtEnvironmentTest : public ::testing::Test {
protected:
    test::TempDir m_home;
    test::ScopedVariable m_homeVariable{"HOME", m_home.Path().string()};
    test::ScopedVariable m_configVariable{"XDG_CONFIG_HOME", m_home.File(".config")};
};

TEST_F(QtEnvironmentTest, AFreshAccountWithoutADesktopFolderGetsItsHomeFolderAndNoFolderIsMade) {
    EXPECT_EQ(QtEnvironment().DesktopFolder(), m_home.Path().string());
    EXPECT_FALSE(std::filesystem::exists(m_home.File("Desktop")));
}

TEST_F(QtEnvironmentTest, AnExistingDesktopFolderIsTheDefault) {
    std::filesystem::create_directory(m_home.File("Desktop"));
    EXPECT_EQ(QtEnvironment().DesktopFolder(), m_home.File("Desktop"));
}

TEST_F(QtEnvironmentTest, TheDesktopTheUserDirsFileNamesCountsOnlyWhenItExists) {
    std::filesystem::create_directories(m_home.File(".config"));
    test::WriteFileBytes(m_home.File(".config/user-dirs.dirs"), "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    std::filesystem::create_directory(m_home.File("Desktop"));  // not the one named: it does not count
    EXPECT_EQ(QtEnvironment().DesktopFolder(), m_home.Path().string());
    std::filesystem::create_directory(m_home.File("Schreibtisch"));
    EXPECT_EQ(QtEnvironment().DesktopFolder(), m_home.File("Schreibtisch"));
}

}  // namespace
}  // namespace tabulane
