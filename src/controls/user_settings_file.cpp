#include "controls/user_settings_file.h"

#include <QFileInfo>
#include <QStringList>

namespace panoptix {
namespace {

constexpr char kOrganisation[] = "panoptix";
constexpr char kApplication[] = "panoptix";

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string TextOf(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    return value.toString().toStdString();
}

}  // namespace

std::unique_ptr<QSettings> OpenUserSettings() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QString::fromLatin1(kOrganisation),
                                       QString::fromLatin1(kApplication));
}

bool UserSettingsFileExists(const QSettings& file) {
    return QFileInfo::exists(file.fileName());
}

std::map<std::string, std::string> ReadSettingsValues(const QSettings& file) {
    std::map<std::string, std::string> values;
    for (const QString& key : file.allKeys()) {
        values[key.toStdString()] = TextOf(file.value(key));
    }
    return values;
}

std::optional<std::string> ReadSettingsValue(const QSettings& file, std::string_view key) {
    const QString name = ToQString(key);
    if (!file.contains(name)) {
        return std::nullopt;
    }
    return TextOf(file.value(name));
}

bool ReplaceSettingsGroups(QSettings& file, std::initializer_list<std::string_view> groups,
                           const std::map<std::string, std::string>& values) {
    for (const std::string_view group : groups) {
        file.remove(ToQString(group));
    }
    for (const auto& [key, value] : values) {
        file.setValue(ToQString(key), ToQString(value));
    }
    file.sync();
    return file.status() == QSettings::NoError;
}

}  // namespace panoptix
