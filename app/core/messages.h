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
// Exit while a download runs or waits: Yes waits for it, saves and ends; No stops it and ends
// without saving; Cancel stays.
inline constexpr QStringView AskExitDuringLoad =
    u"ﾃﾞｰﾀのﾛｰﾄﾞ中です。\nﾛｰﾄﾞが終わるのを待ってセーブしてから終了しますか？\n"
    u"（いいえ: ﾛｰﾄﾞを止めてセーブせずに終了します）";

// The settings could not be written at exit (a full disk, a folder without rights).
inline constexpr QStringView SettingsNotSaved = u"設定を保存できませんでした。\n次回は前回保存された設定で起動します。";

// The start folder stored in the settings is gone (a removed folder, an unplugged drive):
// "The start folder cannot be found: %1. Starting in %2."
inline constexpr QStringView StartFolderMissing = u"起動ﾌｫﾙﾀﾞｰが見つかりません。\n%1\n%2 で起動します。";

// A log double-clicked in the start-folder dialog while an import's preview is open: "The
// import is being checked. Open the log once the import is done."
inline constexpr QStringView OpenHeldByImport = u"取り込みの確認中です。\n取り込みを終えてからログを開いてください。";

// The about box: "version information", "DUVAZI <version> / DIV-EVODU-REV flight log manager".
inline constexpr QStringView AboutCaption = u"ﾊﾞｰｼﾞｮﾝ情報";
inline constexpr QStringView AboutText = u"DUVAZI %1\nDIV-EVODU-REV フライトログ管理";

// The command line, "duvazi --help": usage, options and the log file argument.
inline constexpr QStringView CommandLineHelp =
    u"使い方: duvazi [オプション] [ログファイル]\n"
    u"DIV-EVODU-REV フライトログ管理\n"
    u"\n"
    u"オプション:\n"
    u"  -h, --help     この説明を表示して終わります。\n"
    u"  -v, --version  バージョンを表示して終わります。\n"
    u"\n"
    u"引数:\n"
    u"  ログファイル   起動後に開くLOGファイル (.log)\n";
// An option the program does not know, or more than one log file: "%1 cannot be used",
// followed by the usage (CommandLineHelp).
inline constexpr QStringView CommandLineRefused = u"duvazi: %1 は使えません。\n\n";

// The start-folder dialog.
inline constexpr QStringView FormDirCaption = u"ﾌｫﾙﾀﾞｰ設定";                     // folder settings
inline constexpr QStringView FormDirDefaultFolder = u"ﾃﾞﾌｫﾙﾄﾌｫﾙﾀﾞｰ設定";          // default folder
inline constexpr QStringView FormDirUseCurrent = u"実行時のﾌｫﾙﾀﾞｰを使う";        // the folder current at start
inline constexpr QStringView FormDirUseStored = u"設定されたﾌｫﾙﾀﾞｰを使う";       // the folder set here
inline constexpr QStringView FormDirDontAsk = u"起動時にこの設定画面を表示しない。"; // do not show this at start
inline constexpr QStringView FormDirPathHint = u"パスを入力してEnter／ファイル名で絞り込み"; // type a path and Enter, or part of a file name
// A folder whose path does not fit the 127 bytes the setting keeps.
inline constexpr QStringView FolderPathTooLong =
    u"ﾌｫﾙﾀﾞｰ名が長すぎます。\n%1ﾊﾞｲﾄまでのﾌｫﾙﾀﾞｰを選んでください。";

// The background dialog.
inline constexpr QStringView BackGrdCaption = u"背景設定";                       // background settings
inline constexpr QStringView BackGrdUse = u"背景にビットマップを使う";           // use a bitmap as the background
inline constexpr QStringView BackGrdStretch = u"ビットマップを背景サイズに合わせる"; // fit it to the background
// OK with the picture chosen but no file selected.
inline constexpr QStringView PictureNotChosen = u"背景に使う画像ファイルを選んでください。";
// A picture path longer than the 127 bytes the setting keeps.
inline constexpr QStringView PicturePathTooLong = u"画像ファイル名が長すぎます。\n%1ﾊﾞｲﾄまでです。";
// A file that is not a picture the program can read: the gradient is painted instead.
inline constexpr QStringView PictureCannotLoad = u"背景の画像が読み込めません。\n%1";

} // namespace msg
