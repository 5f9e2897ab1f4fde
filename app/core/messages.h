// The application shell's user-visible texts, with an English gloss beside each.
#pragma once

#include <QStringView>

namespace msg {

inline constexpr QStringView AppCaption = u"DUVAZI";
inline constexpr QStringView Confirm = u"確認"; // caption: confirmation
inline constexpr QStringView Warning = u"警告"; // caption: warning
inline constexpr QStringView Error = u"エラー"; // caption: error
// Exit with unsaved changes: "The log data has changed. Save it?"
inline constexpr QStringView AskSaveOnExit = u"ログデータが変更されています。\nセーブしますか？";

// The settings could not be written at exit (a full disk, a folder without rights).
inline constexpr QStringView SettingsNotSaved = u"設定を保存できませんでした。\n次回は前回保存された設定で起動します。";

} // namespace msg
