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

} // namespace msg
