#pragma once
// The user's settings file: one INI file in the user's configuration folder
// (QSettings::UserScope: $XDG_CONFIG_HOME/panoptix/panoptix.ini, by default under ~/.config, on
// Linux). The main window keeps the connection and the device list in it, the matrix page its
// presets. Only the file's reading and writing is here; what the values mean is decided by
// Qt-free code that takes them as text. Tests point the folder elsewhere
// (QSettings::setPath, or XDG_CONFIG_HOME for a whole program).
#include <QSettings>

#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace panoptix {

// Opens the file (nothing is read or created until a value is asked for or written).
std::unique_ptr<QSettings> OpenUserSettings();

// Whether the file exists on disk.
bool UserSettingsFileExists(const QSettings& file);

// Every value of the file as UTF-8 text by its full key ("connection/mode"); a value the file
// holds as a list ("a,b") is joined again with ','.
std::map<std::string, std::string> ReadSettingsValues(const QSettings& file);

// One value as text, nullopt when the key is missing.
std::optional<std::string> ReadSettingsValue(const QSettings& file, std::string_view key);

// Replaces the groups named with the values given (keys "group/..."), leaving the rest of the
// file as it is, and writes the file. False when the file could not be written.
bool ReplaceSettingsGroups(QSettings& file, std::initializer_list<std::string_view> groups,
                           const std::map<std::string, std::string>& values);

}  // namespace panoptix
