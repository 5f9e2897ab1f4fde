// The device link's user-visible texts (UTF-8 source, shown through the cp932 codec's
// Unicode side). English gloss beside each.
#pragma once

#include <QStringView>

namespace msg {

// The serial component's errors.
inline constexpr QStringView CommNotOpen = u"通信が開始されていない。";    // the port is not open
inline constexpr QStringView CommWriteTooLong = u"送信データ長が長すぎる。"; // write longer than the queue
inline constexpr QStringView CommOpenError = u"オープンエラー ErrorCode = %1";  // open failed, code
inline constexpr QStringView CommReadWriteError = u"入出力エラー ErrorCode = %1"; // transfer failed, code
// What the user can do about a port that could not be opened (%1: the device).
inline constexpr QStringView PortNotFound =
    u"ポート %1 が見つかりません。\nｼﾘｱﾙﾎﾟｰﾄの設定と接続を確認してください。";       // no such port
inline constexpr QStringView PortInUse =
    u"ポート %1 は他のプログラムが使用中です。\nそのプログラムを終了してから、もう一度ロードしてください。"; // in use
inline constexpr QStringView PortPermissionDenied =
    u"ポート %1 を開く権限がありません。\n"
    u"ユーザーを dialout グループに加えて（sudo usermod -aG dialout $USER）、ログインし直してください。"; // no permission
inline constexpr QStringView PortNeedsNewLogin =
    u"ポート %1 を開く権限がありません。\n"
    u"ユーザーは %2 グループに入っていますが、ログインし直すまで有効になりません。"; // group joined, not yet active
inline constexpr QStringView PortHeldByModemManager =
    u"ModemManager がポートを使っていることがあります。（sudo systemctl stop ModemManager）"; // ModemManager holds it
inline constexpr QStringView PortTakenByBrltty =
    u"USB シリアル変換器は brltty に使われて見えなくなることがあります。（sudo apt remove brltty）"; // brltty took it
inline constexpr QStringView PortOpenFailed = u"ポート %1 を開けません。（%2）";   // other reason
// The line failed during a transfer (cable pulled, adapter removed, other side closed).
inline constexpr QStringView LineLost = u"通信が切断されました。（%1）";           // connection lost (why)
inline constexpr QStringView LineReadFailed = u"受信できません";                    // ... receiving failed
inline constexpr QStringView LineWriteFailed = u"送信できません";                   // ... sending failed
inline constexpr QStringView LineGone = u"ポートが使えなくなりました";              // ... the port went away
inline constexpr QStringView ErrorCaption = u"エラー";                              // caption: error

// Downloads.
inline constexpr QStringView NoAnswer =
    u"DIV-EVODU-REV から10秒間データが届かないため、転送を中止しました。\n"
    u"ケーブルの接続と電源、ｼﾘｱﾙﾎﾟｰﾄの設定を確認してください。"; // nothing received for 10 s
inline constexpr QStringView LogReplyRefused =
    u"ログデータが正しくありません。\nログは追加しませんでした。"; // bad log reply, nothing appended
inline constexpr QStringView LogEmpty = u"DIV-EVODU-REV にログがありません。"; // the instrument holds no flight
inline constexpr QStringView BaroReplyRefused =
    u"ﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀが正しくありません。\n %1"; // bad barograph reply (%1: date and time)
inline constexpr QStringView BaroTooShort = u"ﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀが短すぎます。\n %1"; // fewer than 4 samples
inline constexpr QStringView BaroCannotWrite = u"バログラフファイルが書き込めません。"; // file not written
// A flight whose barograph name another flight's file holds (%1: its date and time, %2: the
// name it got, %3: the other flight's date and time, %4: the name they share).
inline constexpr QStringView BaroNameMoved =
    u"%1 のフライトのバログラフは、%4 が %3 のフライトで使われているため、%2 に保存しました。";
// Flights of the instrument already in the log (%1: how many, %2: how many are new).
inline constexpr QStringView AskNewOnly = u"%1件はすでにログにあります。新しい%2件だけ追加しますか？";
// Every flight of the instrument already in the log (%1: how many): there is nothing new to
// add, only the same flights once more.
inline constexpr QStringView AskAllKnownAgain = u"%1件はすべてすでにログにあります。もう一度追加しますか？";
inline constexpr QStringView LineNeverQuiet =
    u"DIV-EVODU-REV からデータが送られ続けているため、転送を中止しました。\n"
    u"DIV-EVODU-REV の電源を入れ直してから、もう一度ロードしてください。"; // the line never went quiet
// The status bar while the log arrives (%1: bytes so far, %2: bytes in all, once known).
inline constexpr QStringView LogReceiving = u"ﾛｸﾞﾃﾞｰﾀを受信中です。 %1 バイト";          // receiving the log
inline constexpr QStringView LogReceivingOf = u"ﾛｸﾞﾃﾞｰﾀを受信中です。 %1 / %2 バイト";   // ... of a known total
inline constexpr QStringView LogWaiting = u"DIV-EVODU-REV の応答を待っています。";       // waiting for the answer

// The progress window.
inline constexpr QStringView ProgressCaption = u"Loading Barograph";
inline constexpr QStringView ProgressLabel = u"バログラフをロード中です。 :"; // loading the barograph
inline constexpr QStringView CancelButton = u"キャンセル";                      // cancel

// The port choice.
inline constexpr QStringView PortSimulator = u"シミュレータ";           // the simulated instrument
inline constexpr QStringView PortTyped = u"デバイスを指定(&P)...";        // type a device path
inline constexpr QStringView PortTypedPrompt = u"シリアルデバイスのパス:"; // device path:
inline constexpr QStringView SimulatorFailed = u"シミュレータを起動できません。（%1）"; // simulator failed

// Sending the instrument its settings.
inline constexpr QStringView AskSend = u"DIV-EVODU-REV に送信しますか？";  // send to the instrument?
inline constexpr QStringView Confirm = u"確認";                            // caption: confirm
inline constexpr QStringView SendDone = u"送信終了";                        // sent
inline constexpr QStringView FlyerNameCaption = u"フライヤー名登録";        // flyer name
inline constexpr QStringView ParameterCaption = u"ﾊﾟﾗﾒｰﾀ設定";             // parameters
inline constexpr QStringView OptionCaption = u"ｵﾌﾟｼｮﾝ表示設定";           // option displays
inline constexpr QStringView DelayCaption = u"送信ディレイ設定";            // send delays
inline constexpr QStringView ThresholdRange = u"上昇音、下降音は0.1から4.0までです。"; // thresholds out of range
// A download holds the port: the upload waits for it to end.
inline constexpr QStringView SendWhileLoading =
    u"ﾃﾞｰﾀのﾛｰﾄﾞ中は送信できません。\nﾛｰﾄﾞが終わってからもう一度実行してください。";
// An upload holds the port: downloads wait for it to end.
inline constexpr QStringView LoadWhileSending =
    u"DIV-EVODU-REV に送信中です。\n送信が終わってからもう一度実行してください。";
// An upload holds the port: a second one waits for it to end.
inline constexpr QStringView SendWhileSending =
    u"DIV-EVODU-REV に送信中です。\n送信が終わるまでお待ちください。";
// The status bar while an upload runs (%1: percent sent), and when it has ended.
inline constexpr QStringView SendingStatus = u"DIV-EVODU-REV に送信中です。 %1%";      // sending
inline constexpr QStringView SentStatus = u"DIV-EVODU-REV への送信が終わりました。";    // sent
// Exit waits for an upload: a message cut in half would be taken by the next as its rest.
inline constexpr QStringView WaitingForSend = u"送信が終わるのを待っています。";        // waiting for the send
inline constexpr QStringView WaitingForLoad = u"ﾃﾞｰﾀのﾛｰﾄﾞが終わるのを待っています。"; // waiting for the download
// A byte of the upload never left the port (the handshake held it).
inline constexpr QStringView SendTimedOut =
    u"DIV-EVODU-REV に10秒間送信できないため、送信を中止しました。\n"
    u"ケーブルの接続と電源、ｼﾘｱﾙﾎﾟｰﾄの設定を確認してください。";
inline constexpr QStringView DelayNotNumber = u"ディレイはミリ秒の整数で入力してください。"; // a delay is no integer
inline constexpr QStringView SettingsFileFilter = u"機器設定ファイル(*.dvs)";              // settings file filter
inline constexpr QStringView SettingsFileSave = u"設定ファイルに保存...";                  // save to a file
inline constexpr QStringView SettingsFileLoad = u"設定ファイルから読込...";                // load from a file
inline constexpr QStringView SettingsFileUnreadable = u"設定ファイルが読めません。\n%1行目：%2"; // line, why
inline constexpr QStringView SettingsFileCannotWrite = u"設定ファイルが書き込めません。";       // not written

} // namespace msg
