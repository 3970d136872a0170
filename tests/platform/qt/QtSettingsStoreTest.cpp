#include <gtest/gtest.h>

#include <QSettings>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/IniSettingsReader.h"
#include "platform/PlatformError.h"
#include "platform/SettingsStore.h"
#include "platform/qt/QtSettingsStore.h"
#include "support/TempDir.h"

namespace tabulane {
namespace {

class QtSettingsStoreTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    std::string m_file = m_dir.File("store.ini");
};

TEST_F(QtSettingsStoreTest, ValuesSurviveIntoAFreshStore) {
    const std::vector<std::pair<std::string, std::string>> values = {
        {"Combo", "X Character(s) To Comma-spaces"},
        {"Output Folder", R"(C:\Users\me\Desktop\)"},
        {"LastFolder", "/home/me/my data/"},
        {"LastFolderDot", "  padded with spaces  "},
        {"Extension", "Ünïcødé 日本語 ✓"},
        {"Option1", "True"},
        {"Commas", "a, b,c"},
        {"Markup", "@at; #hash = [x] \"quoted\" %20"},
        {"Empty", ""},
    };
    {
        QtSettingsStore store(m_file);
        for (const auto& [key, value] : values) {
            store.SaveSetting(key, value);
        }
    }
    QtSettingsStore store(m_file);
    for (const auto& [key, value] : values) {
        EXPECT_EQ(store.GetSetting(key, "default"), value) << key;
    }
}

TEST_F(QtSettingsStoreTest, MissingKeyGivesTheCallersDefault) {
    QtSettingsStore store(m_file);
    EXPECT_EQ(store.GetSetting("Combo", "Tabs To Commas"), "Tabs To Commas");
    store.SaveSetting("Combo", "Spaces To Commas");
    EXPECT_EQ(store.GetSetting("Extension", "*"), "*");
    EXPECT_EQ(store.GetSetting("combo", "other"), "other");  // keys are case-sensitive
}

TEST_F(QtSettingsStoreTest, LatestWriteWinsAndIsOnDiskAtOnce) {
    QtSettingsStore store(m_file);
    store.SaveSetting("Output Folder", "/a");
    store.SaveSetting("Output Folder", "/ab");
    // Another reader of the file sees the value without the store being destroyed first.
    QSettings reader(QString::fromStdString(m_file), QSettings::IniFormat);
    EXPECT_EQ(reader.value(QStringLiteral("Tabulane/Output Folder")).toString().toStdString(), "/ab");
    EXPECT_EQ(store.GetSetting("Output Folder", ""), "/ab");
}

TEST_F(QtSettingsStoreTest, KeysLiveInTheTabulaneSection) {
    QtSettingsStore(m_file).SaveSetting("Combo", "Tabs To Commas");
    const std::string text = test::ReadFileBytes(m_file);
    EXPECT_NE(text.find("[Tabulane]"), std::string::npos) << text;
    EXPECT_NE(text.find("Combo=Tabs To Commas"), std::string::npos) << text;
}

TEST_F(QtSettingsStoreTest, ReadsHandEditedValuesAsText) {
    test::WriteFileBytes(m_file, "[Tabulane]\nOption1=false\nCombo=Tabs, To\n");
    QtSettingsStore store(m_file);
    EXPECT_EQ(store.GetSetting("Option1", "1"), "false");
    EXPECT_FALSE(ParseTruthValue(store.GetSetting("Option1", "1")));
    EXPECT_EQ(store.GetSetting("Combo", ""), "Tabs, To");
}

TEST_F(QtSettingsStoreTest, AStoreThatCannotBeWrittenReportsPermissionDenied) {
    // A regular file where the store's folder should be: fails for the superuser too.
    test::WriteFileBytes(m_dir.File("not-a-folder"), "x");
    QtSettingsStore store(m_dir.File("not-a-folder/store.ini"));
    try {
        store.SaveSetting("Combo", "Tabs To Commas");
        ADD_FAILURE() << "the write was reported as stored";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::kPermissionDenied);
    }
    // A failure does not stick to later stores.
    QtSettingsStore good(m_file);
    EXPECT_NO_THROW(good.SaveSetting("Combo", "Tabs To Commas"));
}

TEST_F(QtSettingsStoreTest, TheUserStoreIsQuillfenConfWithTheTabulaneSection) {
    // Point the per-user location into the temporary folder so the real store is never touched.
    const QString userFolder = QString::fromStdString(m_dir.File("config"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userFolder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, userFolder);

    QtSettingsStore store;
    store.SaveSetting("Extension", "txt");
    EXPECT_EQ(store.GetSetting("Extension", "*"), "txt");

    const std::string file = m_dir.File("config/Quillfen.conf");
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string text = test::ReadFileBytes(file);
    EXPECT_NE(text.find("[Tabulane]\nExtension=txt"), std::string::npos) << text;
}

TEST_F(QtSettingsStoreTest, TheQtFreeReaderReadsWhatTheStoreReads) {
    const std::vector<std::string> written = {
        "Tabs To Commas", "  spaced  ", "a, b", "say \"hi\"", R"(C:\dir\)", "x=y;z", "caf\xC3\xA9", "#1", ""};
    {
        QtSettingsStore store(m_file);
        for (std::size_t i = 0; i < written.size(); ++i) {
            store.SaveSetting("Key" + std::to_string(i), written[i]);
        }
    }
    QtSettingsStore store(m_file);
    IniSettingsReader reader({m_file});
    for (std::size_t i = 0; i < written.size(); ++i) {
        const std::string key = "Key" + std::to_string(i);
        EXPECT_EQ(reader.GetSetting(key, "default"), store.GetSetting(key, "default")) << written[i];
    }
    EXPECT_EQ(reader.GetSetting("Missing", "default"), "default");

    const std::vector<std::string> typed = {
        "[Other]\nCombo=elsewhere\n[Tabulane]\r\nCombo = Tabs,  To \r\n",
        "[General]\nCombo=root\n[Tabulane]\n; note\nCombo=first\nCombo=\"last, quoted\"\n",
        "[Tabulane]\n%43ombo=escaped\n",
        "Tabulane\\Combo=in the root section\n",
    };
    for (const std::string& text : typed) {
        test::WriteFileBytes(m_file, text);
        EXPECT_EQ(IniSettingsReader({m_file}).GetSetting("Combo", "default"),
                  QtSettingsStore(m_file).GetSetting("Combo", "default"))
            << text;
    }

    std::filesystem::remove(m_file);
    std::filesystem::create_directory(m_file);
    EXPECT_THROW(QtSettingsStore(m_file).GetSetting("Combo", ""), PlatformError);
    try {
        reader.GetSetting("Combo", "");
        ADD_FAILURE() << "a folder was read as the store";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber::kPermissionDenied);
    }
    EXPECT_THROW(reader.SaveSetting("Combo", "x"), PlatformError);
}

}  // namespace
}  // namespace tabulane
