#include "platform/qt/QtSettingsStore.h"

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <utility>

#include "platform/PlatformError.h"

namespace tabulane {
namespace {

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToStdString(const QString& text) {
    return text.toUtf8().toStdString();
}

// A QSettings lives for one call only, so each call starts from a clean status and sees the store as it is now.
std::unique_ptr<QSettings> OpenStore(const std::string& iniFilePath) {
    auto settings = iniFilePath.empty()
                        ? std::make_unique<QSettings>(QString::fromUtf8(kSettingsOrganisation), QString())
                        : std::make_unique<QSettings>(ToQString(iniFilePath), QSettings::IniFormat);
    settings->beginGroup(QString::fromUtf8(kSettingsSection));
    return settings;
}

void ThrowOnAccessError(const QSettings& settings) {
    if (settings.status() == QSettings::AccessError) {
        throw PlatformError(ErrorNumber::kPermissionDenied,
                            "Permission denied: settings store " + ToStdString(settings.fileName()));
    }
}

}  // namespace

QtSettingsStore::QtSettingsStore(std::string iniFilePath) : m_iniFilePath(std::move(iniFilePath)) {}

std::string QtSettingsStore::GetSetting(const std::string& key, const std::string& defaultValue) {
    const auto settings = OpenStore(m_iniFilePath);
    ThrowOnAccessError(*settings);
    const QVariant value = settings->value(ToQString(key));
    if (!value.isValid()) {
        return defaultValue;
    }
    // A hand-edited INI value with an unquoted comma reads back as a list; give the text as it was meant.
    if (value.typeId() == QMetaType::QStringList) {
        return ToStdString(value.toStringList().join(QStringLiteral(", ")));
    }
    return ToStdString(value.toString());
}

void QtSettingsStore::SaveSetting(const std::string& key, const std::string& value) {
    const auto settings = OpenStore(m_iniFilePath);
    settings->setValue(ToQString(key), ToQString(value));
    settings->sync();
    ThrowOnAccessError(*settings);
}

}  // namespace tabulane
