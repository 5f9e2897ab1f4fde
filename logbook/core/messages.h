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

// Log book operations.
inline constexpr QStringView LogFileFilter = u"ログファイル(*.log)"; // open/save dialog filter
// Editors or barograph windows are open: close them all?
inline constexpr QStringView AskCloseAllWindows =
    u"ﾃﾞｰﾀ編集、ｸﾞﾗﾌｨｯｸ表示がされています。\nすべて閉じますか？";
// They could not all be closed: the operation stops.
inline constexpr QStringView WindowsStillOpen =
    u"ﾃﾞｰﾀ編集/ｸﾞﾗﾌ表示のすべてを削除できませんでした。\n作業を中止します。";
// The open log has changes: discard them?
inline constexpr QStringView AskDiscardChanges =
    u"現在のログファイルは変更されています。\n破棄してもいいですか？";
inline constexpr QStringView DuplicateDateTime = u"同一日時のログがあります。"; // same date and time twice
inline constexpr QStringView AskDeleteSelected = u"選択されているログを削除します。"; // delete the selection
// Delete this barograph file too? (%1: the file name)
inline constexpr QStringView AskDeleteBarograph = u"バログラフファイル：%1\nを削除しますか？";
// The barograph file stays: another flight of the log still names it (%1: the file name).
inline constexpr QStringView BarographStillNamed =
    u"バログラフファイル：%1\nは他のログでも使われているので削除しません。";
// The barograph file could not be deleted (%1: the file name); the reason follows.
inline constexpr QStringView BarographNotRemoved = u"バログラフファイル：%1\nを削除できませんでした。";
inline constexpr QStringView AlreadyEditing = u"すでに編集中です。";        // an editor is already open
inline constexpr QStringView AlreadyShowing = u"すでに表示しています。";    // a graph is already open
inline constexpr QStringView CannotShowBarograph = u"バログラフを表示できません。"; // no barograph to show
// A download from the instrument is running: rows must not move under it.
inline constexpr QStringView DownloadRunning = u"ﾃﾞｰﾀのﾛｰﾄﾞ中です。\nﾛｰﾄﾞが終わってからもう一度実行してください。";
inline constexpr QStringView CaptionConfirm = u"確認";
inline constexpr QStringView CaptionWarning = u"警告";

inline constexpr QStringView LogListCaption = u"ログファイル";              // log list caption
inline constexpr QStringView LogListCaptionWithPath = u"ログファイル - %1"; // ... with the path
inline constexpr QStringView NameLabel = u"名前";                           // name

// The record editor.
inline constexpr QStringView EditorCaption = u"ログエディット";         // log edit
inline constexpr QStringView EditorFlightHeading = u" Flight #%1 ";     // heading of a flight's editor
inline constexpr QStringView EditorNewFlightHeading = u" New Flight ";  // heading of a new flight's editor
inline constexpr QStringView EditorDate = u"日付";                      // date
inline constexpr QStringView EditorTime = u"時刻";                      // time
inline constexpr QStringView EditorDuration = u"滞空時間";              // time in the air
inline constexpr QStringView EditorArea = u"エリア";                    // area
inline constexpr QStringView EditorMaxAltitude = u"最大高度";           // maximum altitude
inline constexpr QStringView EditorMaxClimb = u"最大上昇率";            // maximum climb rate
inline constexpr QStringView EditorBarographFile = u"バログラフファイル"; // barograph file
inline constexpr QStringView EditorComment = u"備考・コメント";         // remarks, comment
inline constexpr QStringView EditorOk = u"OK";
inline constexpr QStringView EditorCancel = u"キャンセル";              // cancel
// A barograph file name longer than the record keeps (%1: bytes): nothing is stored yet.
inline constexpr QStringView BarographNameTooLong =
    u"バログラフファイル名が長すぎます。\n半角%1文字（全角は1文字を2文字と数えます）までにしてください。";
// A barograph name no row may keep (%1: the name; %2: why, one of the five below).
inline constexpr QStringView BarographNameRefused = u"バログラフファイル名「%1」は使えません。%2";
inline constexpr QStringView BarographNameIsPath = u"フォルダーやドライブを含む名前です。"; // a path, not a name
inline constexpr QStringView BarographNameBadCharacter = u"ファイル名に使えない文字があります。"; // control or non-cp932
inline constexpr QStringView BarographNameIsLogFile = u"ログファイルかその付属ファイルの名前です。"; // .log, .lif, companion
// A device name (NUL, COM1) or a trailing dot or blank, which Windows drops.
inline constexpr QStringView BarographNameIsSystemName = u"Windowsでは装置や別のファイルを指す名前です。";
// A link in the work folder to a file elsewhere, or to the log's own files.
inline constexpr QStringView BarographNameLeadsOutside = u"作業フォルダーの外やログのファイルを指すリンクです。";
// Which flight a problem concerns (%1: its row in the list; %2: the problem).
inline constexpr QStringView LogRowProblem = u"%1行目のログ：%2";

// Totals.
inline constexpr QStringView TotalsCaption = u"集計"; // totals
// The status bar's totals of the selected rows (%1 flights, %2 flying time).
inline constexpr QStringView SelectionTotals = u"選択 %1件　滞空時間 %2";

// CSV files of the log book.
inline constexpr QStringView CsvFilter = u"CSVファイル(*.csv)";                  // dialog filter
inline constexpr QStringView CsvCannotOpen = u"CSVファイルが開けません。";        // cannot open the CSV file
inline constexpr QStringView CsvCannotWrite = u"CSVファイルを書き込めません。";   // cannot write the CSV file; the reason follows
// The file has lines that cannot become flights: nothing was added; the lines follow.
inline constexpr QStringView CsvCannotRead =
    u"CSVファイルに読み込めない行があります。ログは追加していません。";
inline constexpr QStringView CsvLine = u"%1行目：%2";                               // line %1: reason
inline constexpr QStringView CsvUnclosedQuote = u"引用符（\"）が閉じていません。";   // a quote is never closed
inline constexpr QStringView CsvTextAfterQuote = u"引用符（\"）の後に文字があります。"; // text after a closing quote
inline constexpr QStringView CsvQuoteInCell = u"引用符（\"）で始まらない欄に引用符があります。"; // a stray quote
inline constexpr QStringView CsvNotLogHeader = u"ログブックのCSVの見出し行ではありません。"; // not the header row
// A row with another number of cells than a flight has (%1 cells, %2 expected).
inline constexpr QStringView CsvCellCount = u"欄が%1個あります（%2個のはずです）。";
// A field longer than the log can keep (%1 the column title, %2 bytes).
inline constexpr QStringView CsvCellTooLong = u"「%1」が長すぎます（半角%2文字までです）。";
// Characters that Shift-JIS cannot hold (%1 the column title).
inline constexpr QStringView CsvNotEncodable = u"「%1」にShift-JISで表せない文字があります。";
// A field ending in the first byte of a double-byte character (%1 the column title).
inline constexpr QStringView CsvBrokenCharacter = u"「%1」の最後の文字が途中で切れています。";
inline constexpr QStringView CsvNulInCell = u"「%1」にNUL文字があります。"; // a 0x00 byte in a field
// A time or duration that does not read as hours:minutes:seconds (%1 the column title).
inline constexpr QStringView CsvNotClockTime = u"「%1」が時:分:秒（例 01:30:00）として読めません。";
// The export dialog's file types: the encoding is chosen with them.
inline constexpr QStringView CsvFilterUtf8 = u"CSVファイル UTF-8・Excelなど(*.csv)";
inline constexpr QStringView CsvFilterCp932 = u"CSVファイル Shift-JIS・古いソフト用(*.csv)";
// A UTF-8 file gives back other bytes for %1 fields (duplicated codes): Shift-JIS keeps them.
inline constexpr QStringView CsvUtf8Changes =
    u"%1個の欄に、UTF-8では元と同じ文字コードに戻らない文字（NEC/IBM拡張文字の重複コードなど）があります。\n元のまま読み戻すにはShift-JISで書き出してください。";

// The log's companion file (NAME.duvazi.json): what the binary log cannot hold.
// It could not be read: the log opened without it, and the file is kept in bak (%1 the reason).
inline constexpr QStringView CompanionDamaged =
    u"ログの補助ファイルが読めません（%1）。ログは開きました。元のファイルはbakに残しています。";
inline constexpr QStringView CompanionNotJson = u"JSONではありません";        // not JSON
inline constexpr QStringView CompanionNoVersion = u"versionがありません";     // no version
inline constexpr QStringView CompanionBadMember = u"「%1」の形が違います";     // member %1 is malformed
inline constexpr QStringView CompanionTooLarge = u"大きすぎます";             // too large
// Bounds on its shape (see Companion::kMaxDepth and after).
inline constexpr QStringView CompanionTooManyMembers = u"項目が多すぎるか、入れ子が深すぎます"; // too many members or too deep
inline constexpr QStringView CompanionTextTooLong = u"長すぎる文字列があります";               // a string too long
inline constexpr QStringView CompanionUnknownTooLarge = u"このバージョンにない項目が大きすぎます"; // unknown members too large
// Entries that belong to no flight of the log as it is now (%1 how many): the log was
// changed by another program. They are kept in the companion, not thrown away.
inline constexpr QStringView CompanionUnmatched =
    u"ログの補助ファイルに、どの飛行にも合わない記録が%1件あります（ログが他のプログラムで変更されたようです）。記録は消さずに残します。";

// Undo and redo: the Edit menu's items, each followed by the step it takes.
inline constexpr QStringView UndoItem = u"元に戻す(&U)";         // undo
inline constexpr QStringView RedoItem = u"やり直し(&R)";         // redo
inline constexpr QStringView UndoNamed = u"元に戻す: %1(&U)";    // undo: (the step)
inline constexpr QStringView RedoNamed = u"やり直し: %1(&R)";    // redo: (the step)
inline constexpr QStringView StepDelete = u"削除 %1件";          // delete %1 flights
inline constexpr QStringView StepSort = u"日付順に並べ替え";     // sort by date
inline constexpr QStringView StepMerge = u"ログ追加読込 %1件";   // %1 flights added from a log
inline constexpr QStringView StepCsv = u"CSVから追加 %1件";      // %1 flights added from a CSV
inline constexpr QStringView StepEdit = u"ログデータ編集";       // edit a flight
inline constexpr QStringView StepNewFlight = u"新規ログの追加";  // a new flight
inline constexpr QStringView StepDownload = u"ダウンロード";     // a download
inline constexpr QStringView StepExclude = u"統計から除外 %1件"; // %1 flights left out of the statistics
inline constexpr QStringView StepInclude = u"統計に戻す %1件";   // %1 flights counted again
inline constexpr QStringView StepCarried = u"繰越の設定";        // flights and time carried over set
inline constexpr QStringView StepRules = u"規則の変更";          // the currency rules edited
inline constexpr QStringView StepGear = u"装備の変更";           // the gear edited
// Undo could not put a barograph file back from bak (%1: the file name).
inline constexpr QStringView BarographNotRestored = u"バログラフファイル：%1\nを元に戻せませんでした。";

// Currency rules and gear (kept in the companion; a rules file given to the tool).
inline constexpr QStringView RuleBadMember = u"%1番目の規則の「%2」の形が違います";   // rule %1: member %2 malformed
inline constexpr QStringView RulesTooMany = u"規則が多すぎます（%1個まで）";          // more than %1 rules
inline constexpr QStringView RulesNotRulesFile = u"{\"rules\": [...]} の形のJSONではありません"; // not a rules file
inline constexpr QStringView GearBadMember = u"%1番目の装備の「%2」の形が違います";   // gear item %1: member %2 malformed
// Presets: each rule, and where it comes from (the pilot edits them to their own rule book).
inline constexpr QStringView PresetTandem = u"タンデム 90日以内に3フライト";             // tandem: 3 flights in 90 days
inline constexpr QStringView PresetTandemSource =
    u"タンデム規定の例：タンデム飛行の前90日以内に3フライト。所属団体の規定で日数と本数を確かめてください。";
inline constexpr QStringView PresetLicence300 = u"ライセンス申請 高度差300m以上 25本";  // 25 flights of 300 m
inline constexpr QStringView PresetLicence500 = u"ライセンス申請 高度差500m以上 15本";  // 15 flights of 500 m
inline constexpr QStringView PresetLicenceSource =
    u"ライセンス申請規定の例：離陸と着陸の高度差300m以上25本、500m以上15本（バログラフで測った高度差）。";
inline constexpr QStringView PresetRatingDays = u"レーティング 飛行日数30日";            // rating: 30 flying days
inline constexpr QStringView PresetRatingFlights = u"レーティング 90フライト";           // rating: 90 flights
inline constexpr QStringView PresetRatingHours = u"レーティング 飛行時間20時間";         // rating: 20 hours
inline constexpr QStringView PresetRatingSource = u"レーティング規定の例：飛行日数30日、90フライト、飛行時間20時間。";
inline constexpr QStringView PresetLevelHours5 = u"技能証 5時間";                       // level: 5 hours
inline constexpr QStringView PresetLevelFlights60 = u"技能証 60フライト";               // level: 60 flights
inline constexpr QStringView PresetLevelHours10 = u"技能証 10時間";                     // level: 10 hours
inline constexpr QStringView PresetLevelHours20 = u"技能証 20時間";                     // level: 20 hours
inline constexpr QStringView PresetLevelSource =
    u"国内の技能証の例：5時間または60フライト、10時間、20時間（「または」はどちらかを満たせば足ります）。";
inline constexpr QStringView PresetLicenceExpiry = u"ライセンス有効期限";                // licence expiry
inline constexpr QStringView PresetRegistrationExpiry = u"フライヤー登録の期限";        // flyer registration
inline constexpr QStringView PresetInsuranceExpiry = u"保険の期限";                     // insurance
inline constexpr QStringView PresetMedicalExpiry = u"診断書の期限";                     // medical
inline constexpr QStringView PresetExpirySource = u"証書・登録証・保険証券に書かれた期限の日付を入れてください。";
// Why a row does not count for a rule of height difference.
inline constexpr QStringView HeightNoBarograph = u"バログラフがありません";             // no barograph
inline constexpr QStringView HeightNotRead = u"バログラフが読めません";                 // barograph unreadable
inline constexpr QStringView HeightNoTakeoffOrLanding = u"離陸か着陸が記録にありません"; // no take-off or landing recorded
inline constexpr QStringView HeightReading = u"バログラフを読んでいます";                 // barograph still being read

} // namespace msg
