// The log book's user-visible texts (UTF-8 source; shown through the cp932 codec's
// Unicode side, stored as cp932 where they reach a file). English gloss beside each.
#pragma once

#include <QStringView>

namespace msg {

// Column titles: the title record and the list's title row.
inline constexpr QStringView TitleDate = u"日付";                  // date
inline constexpr QStringView TitleTime = u"時刻";                  // time
inline constexpr QStringView TitleArea = u"エリア";                // area
inline constexpr QStringView TitleDuration = u"滞空時間";          // time in the air
inline constexpr QStringView TitleMaxAltitude = u"最大高度";       // maximum altitude
inline constexpr QStringView TitleMaxClimb = u"最大上昇率";        // maximum climb rate
inline constexpr QStringView TitleComment = u"備考、コメント";     // remarks, comment
inline constexpr QStringView TitleBarographFile = u"ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ"; // barograph file

// Log files.
inline constexpr QStringView LogFileCannotOpen = u"LOGファイルが開けません。";        // cannot open the log file
inline constexpr QStringView AddLogFileCannotOpen = u"追加LOGファイルが開けません。"; // cannot open the file to add
inline constexpr QStringView NameFileCannotOpen = u"名前ファイルが開けません。";      // cannot open the name file
// A damaged log file: %1 records of the %2 announced could be read (flights, title excluded).
inline constexpr QStringView LogFileDamaged =
    u"LOGファイルが壊れています。\n%2件のログのうち%1件を読み込みました。";
// A damaged log file of which not even the titles could be read.
inline constexpr QStringView LogFileUnreadable = u"LOGファイルが壊れていて読み込めません。";
// More rows than a log file can hold (65535): nothing is written.
inline constexpr QStringView LogTooManyRows =
    u"ログが多すぎて保存できません。\n（1つのファイルに保存できるのは65534件までです。）";

inline constexpr QStringView LogListCaption = u"ログファイル";              // log list caption
inline constexpr QStringView LogListCaptionWithPath = u"ログファイル - %1"; // ... with the path
inline constexpr QStringView NameLabel = u"名前";                           // name

} // namespace msg
