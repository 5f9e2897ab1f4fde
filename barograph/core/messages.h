// The barograph viewer's user-visible texts (UTF-8 source; shown through the cp932 codec's
// Unicode side, drawn into the picture as cp932 like the rest of its text). English gloss
// beside each.
#pragma once

#include <QStringView>

namespace baromsg {

inline constexpr QStringView GraphCaption = u"バログラフ";                           // barograph (window caption)
inline constexpr QStringView FileCannotOpen = u"バログラフファイルが開けません。";   // cannot open the barograph file
// The trace changed: save the barograph and the log data?
inline constexpr QStringView SaveQuestion =
    u"ﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀが変更されました。\nﾊﾞﾛｸﾞﾗﾌﾃﾞｰﾀとﾛｸﾞﾃﾞｰﾀをセーブしますか？";
// A save name the flight record cannot hold (more than 13 bytes, or characters without a
// cp932 code): the record would name a file that does not exist.
inline constexpr QStringView FileNameTooLong =
    u"ﾊﾞﾛｸﾞﾗﾌﾌｧｲﾙ名が長すぎます。\n（半角13文字以内の名前にしてください。）";
inline constexpr QStringView Confirm = u"確認";                                      // confirm (caption)
inline constexpr QStringView CutRightQuestion = u"ｶｰｿﾙの右側を削除します。いいですか？"; // delete right of the cursor?
inline constexpr QStringView CutLeftQuestion = u"ｶｰｿﾙの左側を削除します。いいですか？";  // delete left of the cursor?

// The text block at the top of the picture.
inline constexpr QStringView HeaderName = u"名前： ";             // name
inline constexpr QStringView HeaderTakeoff = u"テイクオフ： ";    // take-off
inline constexpr QStringView HeaderDuration = u"滞空時間： ";     // time in the air
inline constexpr QStringView HeaderArea = u"エリア： ";           // site
inline constexpr QStringView HeaderPeak = u"最大高度： ";         // maximum altitude
inline constexpr QStringView HeaderClimb = u"最大上昇率： ";      // maximum climb rate
inline constexpr QStringView HeaderGain = u"獲得高度： ";         // height gained
inline constexpr QStringView HeaderBottom = u"Bottom： ";         // low of the gain
inline constexpr QStringView HeaderTop = u"Top： ";               // high of the gain

// Hints of the cursor tool window's controls.
inline constexpr QStringView HintPrevious = u"前のﾎﾟｲﾝﾄ";                 // previous point
inline constexpr QStringView HintTime = u"ｶｰｿﾙﾎﾟｲﾝﾄの経過時間";           // elapsed time at the cursor
inline constexpr QStringView HintNext = u"次のﾎﾟｲﾝﾄ";                     // next point
inline constexpr QStringView HintHeight = u"ｶｰｿﾙﾎﾟｲﾝﾄの高度";             // altitude at the cursor
inline constexpr QStringView HintVario = u"ｶｰｿﾙﾎﾟｲﾝﾄのﾊﾞﾘｵﾒｰﾀ";          // climb rate at the cursor
inline constexpr QStringView HintZoom = u"Zoom";                          // zoom
inline constexpr QStringView HintCursorOnOff = u"ｶｰｿﾙ　On/Off";           // cursor on/off
inline constexpr QStringView HintHeightAdjust = u"高度補正";              // altitude correction
// The edits as undo and redo name them.
inline constexpr QStringView StepCutRight = u"右側を削除";                 // delete right of the cursor
inline constexpr QStringView StepCutLeft = u"左側を削除";                  // delete left of the cursor
inline constexpr QStringView StepCorrection = u"高度補正";                 // altitude correction
inline constexpr QStringView StepSaveRow = u"バログラフの保存";           // a barograph saved into its row
inline constexpr QStringView StepRevert = u"ダウンロード時に戻す";         // back to the download
// The window's menu command putting back the barograph and the row as downloaded, and its
// answer for a barograph that did not come from a download here.
inline constexpr QStringView RevertItem = u"ダウンロード時に戻す";
inline constexpr QStringView NotDownloadedHere =
    u"このバログラフはここでダウンロードされたものではありません。\nダウンロード時に戻せません。";
// An edit of a file given with a row of a log that names another barograph: the row's
// figures would describe a file they do not belong to.
inline constexpr QStringView RowNamesOtherBarograph = u"%1行目のフライトのバログラフは %2 ではありません。";
inline constexpr QStringView HintCutLeft = u"ｶｰｿﾙﾎﾟｲﾝﾄの左を削除";         // delete left of the cursor
inline constexpr QStringView HintCutRight = u"ｶｰｿﾙﾎﾟｲﾝﾄの右を削除";        // delete right of the cursor
inline constexpr QStringView HintPrint = u"ﾊﾞﾛｸﾞﾗﾌのﾌﾟﾘﾝﾄ";               // print the barograph
inline constexpr QStringView HintClose = u"閉じる";                       // close

// The cursor tool's second row: the cursor to the detected take-off or landing, the mark,
// and the figures from the mark to the cursor.
inline constexpr QStringView TakeoffButton = u"ﾃｲｸｵﾌ";                       // take-off (button)
inline constexpr QStringView LandingButton = u"ﾗﾝﾃﾞｨﾝｸﾞ";                     // landing (button)
inline constexpr QStringView MarkButton = u"ﾏｰｸ";                            // mark (button)
inline constexpr QStringView HintTakeoff = u"ﾃｲｸｵﾌ地点へｶｰｿﾙを移動";          // cursor to the take-off
inline constexpr QStringView HintLanding = u"ﾗﾝﾃﾞｨﾝｸﾞ地点へｶｰｿﾙを移動";       // cursor to the landing
inline constexpr QStringView HintMark = u"ｶｰｿﾙﾎﾟｲﾝﾄにﾏｰｸを付ける";            // set the mark at the cursor
inline constexpr QStringView MarkNone = u"ﾏｰｸなし";                          // no mark set
// From the mark: the time between, the height difference and the mean climb.
inline constexpr QStringView MarkFigures = u"ﾏｰｸから %1   %2 m   %3 m/s";

// The climbs tool window: the climbs found in the trace, the flight's figures and the time
// spent at each climb rate.
inline constexpr QStringView ClimbsTitle = u"上昇 %1回";                      // climbs: %1 of them
inline constexpr QStringView ClimbStart = u"開始";                           // start (clock time)
inline constexpr QStringView ClimbDuration = u"時間";                        // duration
inline constexpr QStringView ClimbGain = u"獲得 m";                          // height gained
inline constexpr QStringView ClimbMean = u"平均 m/s";                        // mean climb
inline constexpr QStringView ClimbBest = u"30秒最大";                        // best 30 s, m/s
inline constexpr QStringView HintClimbs = u"ｸﾘｯｸでその上昇を拡大";             // click: zoom to that climb
inline constexpr QStringView ClimbingShare = u"上昇時間： %1 %";              // share of the flying time climbing
inline constexpr QStringView TotalClimb = u"総上昇高度： %1 m";               // metres climbed in all
inline constexpr QStringView BestClimb30s = u"最大上昇(30秒)： %1 m/s";       // best 30 s
inline constexpr QStringView MaxSink30s = u"最大沈下(30秒)： %1 m/s";         // strongest 30 s of sink
inline constexpr QStringView RateHistogram = u"上昇率の分布（0.5m/sごとの秒数）"; // seconds at each 0.5 m/s

// Hints of the zoom tool window's buttons.
inline constexpr QStringView HintZoomLeft = u"HZoomDown/ScrollLeft";
inline constexpr QStringView HintZoomRight = u"HZoomUp/ScrollRight";
inline constexpr QStringView HintZoomUp = u"VZoomUp/ScrollUp";
inline constexpr QStringView HintZoomDown = u"VZoomDown/ScrollDown";

// Altitude correction.
inline constexpr QStringView AdjustCaption = u"高度補正";                 // altitude correction (caption)
inline constexpr QStringView AdjustZero = u"最小値を０ｍに補正";            // lowest sample to 0 m
inline constexpr QStringView AdjustTakeoff = u"テイクオフ高度指定補正";     // to a take-off altitude
inline constexpr QStringView AdjustOffset = u"オフセット値を指定";          // by an offset
inline constexpr QStringView NoGraphSelected = u"ﾊﾞﾛｸﾞﾗﾌｳｨﾝﾄﾞｳが選択されていません。"; // no barograph window chosen
inline constexpr QStringView ErrorCaption = u"エラー";                    // error (caption)
// A correction that would take a sample beyond what a barograph file holds (+-100000 m).
inline constexpr QStringView CorrectionOutOfRange =
    u"補正後の高度が範囲を超えます。\n（±100000m以内になるように指定してください。）";
// The take-off altitude or offset typed holds no number.
inline constexpr QStringView CorrectionNotNumber =
    u"高度が数値ではありません。\n（数字で入力してください。例：1250、-30.5）";

// Printing.
inline constexpr QStringView PrintModeCaption = u"プリント　モード";           // print mode (caption)
inline constexpr QStringView PrintGroup = u"プリント";                          // print (group title)
inline constexpr QStringView PrintColour = u"カラープリント";                   // colour print
inline constexpr QStringView PrintMono = u"白黒プリント";                       // black-and-white print
inline constexpr QStringView PrintDontAsk = u"プリント時この確認メッセージを表示をしない。"; // don't ask when printing
inline constexpr QStringView SavePdf = u"PDFに保存";                            // save as PDF
inline constexpr QStringView PdfFilter = u"PDF(*.pdf)";
inline constexpr QStringView PdfCannotWrite = u"PDFファイルが書けません。";     // cannot write the PDF file
inline constexpr QStringView PrintCannotStart = u"「%1」に印刷できません。";      // cannot print on %1 (printer or file)
inline constexpr QStringView PrintNoPrinter = u"印刷できるプリンターがありません。"; // no printer to print on
// The statistics window and the log book on paper.
inline constexpr QStringView StatsCaption = u"統計";                              // statistics (caption)
inline constexpr QStringView StatsYears = u"年別";                                // per year (tab)
inline constexpr QStringView StatsMonths = u"月別";                               // per month of the year (tab)
inline constexpr QStringView StatsSites = u"エリア別";                            // per site (tab)
inline constexpr QStringView StatsRecords = u"記録";                              // records (tab)
inline constexpr QStringView StatsCharts = u"グラフ";                             // charts (tab)
// Column titles.
inline constexpr QStringView StatsYear = u"年";                                   // year
inline constexpr QStringView StatsMonth = u"月";                                  // month
inline constexpr QStringView StatsSite = u"エリア";                               // site
inline constexpr QStringView StatsFlights = u"本数";                              // flights
inline constexpr QStringView StatsTime = u"滞空時間";                             // flying time
inline constexpr QStringView StatsMean = u"平均";                                 // mean flight
inline constexpr QStringView StatsLongest = u"最長";                              // longest flight
inline constexpr QStringView StatsHighest = u"最高高度";                          // highest altitude
inline constexpr QStringView StatsBestClimb = u"最大上昇率";                      // best climb
inline constexpr QStringView StatsClimbed = u"獲得高度計";                        // height climbed in all climbs
inline constexpr QStringView StatsFirst = u"初回";                                // first date
inline constexpr QStringView StatsLast = u"最終";                                 // last date
inline constexpr QStringView StatsRecord = u"記録";                               // record
inline constexpr QStringView StatsValue = u"値";                                  // value
inline constexpr QStringView StatsDate = u"日付";                                 // date
inline constexpr QStringView StatsRecordLongest = u"最長フライト";                // longest flight
inline constexpr QStringView StatsRecordHighest = u"最高高度";                    // highest altitude
inline constexpr QStringView StatsRecordClimb = u"最大上昇率";                    // best climb
inline constexpr QStringView StatsRecordGain = u"1回の最大獲得高度";              // biggest gain of one climb
inline constexpr QStringView StatsChartYears = u"年ごとの滞空時間";               // hours per year (chart)
inline constexpr QStringView StatsChartMonths = u"月ごとの滞空時間";              // hours per month of the year
inline constexpr QStringView StatsChartSites = u"よく飛んだエリア（上位10）";     // ten most-flown sites
// "total N flights hh:mm:ss"; "(M flights left out)"; "(carried over: N flights hh:mm:ss)".
inline constexpr QStringView StatsSummary = u"合計 %1本　%2";
inline constexpr QStringView StatsSummaryExcluded = u"　（統計から除外 %1本）";
inline constexpr QStringView StatsSummaryCarried = u"　（繰越 %1本　%2を含む）";
inline constexpr QStringView StatsCarriedFlights = u"繰越本数";                   // flights carried over
inline constexpr QStringView StatsCarriedTime = u"繰越時間";                      // time carried over
inline constexpr QStringView StatsCarriedSet = u"繰越を設定";                     // set what was carried over
inline constexpr QStringView StatsExclude = u"統計から除外";                      // left out of the statistics (toggle)
inline constexpr QStringView StatsBadTime = u"繰越時間は 時:分 または 時:分:秒 で入力してください（例：123:45）。";
inline constexpr QStringView StatsNoSelection = u"ログリストで除外するフライトを選んでください。"; // select flights first
inline constexpr QStringView StatsLooking = u"バログラフを読んでいます %v / %m"; // reading the barographs, done / total (progress)
// Printing the log book.
inline constexpr QStringView LogBookPrintCaption = u"ログブック印刷";             // caption of the range dialog
inline constexpr QStringView LogBookFrom = u"開始日 (YY/MM/DD)";                  // from
inline constexpr QStringView LogBookTo = u"終了日 (YY/MM/DD)";                    // to
inline constexpr QStringView LogBookRangeHint = u"空欄は制限なし";                // empty: no bound
inline constexpr QStringView LogBookTitle = u"ログブック";                        // title when the log has no name
inline constexpr QStringView LogBookPrinting = u"ログブックを印刷中です。 %1/%2 ページ"; // printing, page %1 of %2
inline constexpr QStringView LogBookPrintCancel = u"中止";                         // cancel (button beside it)
inline constexpr QStringView LogBookPrintCancelled = u"ログブックの印刷を中止しました。"; // the print was cancelled
inline constexpr QStringView LogBookPrinted = u"ログブックを印刷しました。";     // the print is done
// A second print while one runs.
inline constexpr QStringView LogBookPrintBusy =
    u"ログブックを印刷中です。印刷が終わるか、中止してから印刷してください。";
// IGC files of barograph-only flights.
inline constexpr QStringView IgcExport = u"IGCに書き出す";                       // export as IGC (command)
inline constexpr QStringView IgcFilter = u"IGCファイル(*.igc)";                  // dialog filter
inline constexpr QStringView IgcNoBarograph = u"このフライトにはバログラフがありません。"; // the row names no barograph
inline constexpr QStringView IgcCannotWrite = u"IGCファイルを書き込めません。";  // the reason follows
// No position for the flight: viewers reject a file without one, so a site is asked for.
inline constexpr QStringView IgcNoSite =
    u"飛行エリアの位置がわかりません。\n位置のないIGCファイルはビューアで読み込めないので、サイトを指定してください。";
inline constexpr QStringView IgcSiteNotFound = u"サイトファイルに「%1」がありません。"; // no such site (%1 its name)
inline constexpr QStringView IgcChooseSite = u"IGCファイルの位置にするサイトを選んでください。"; // choose a site
inline constexpr QStringView IgcBadDate = u"ログの日付が読めないのでIGCファイルを作れません。";   // date unreadable
inline constexpr QStringView IgcBadTime = u"ログの時刻が読めないのでIGCファイルを作れません。";   // time unreadable
inline constexpr QStringView IgcTooLong = u"24時間以上のバログラフはIGCファイルにできません。";  // a day or longer
inline constexpr QStringView SitesFileCannotOpen = u"サイトファイルが開けません。";              // cannot open the sites file
inline constexpr QStringView SitesFileFilter = u"サイトファイル(*.cup)";                          // dialog filter
// Lines of the sites file that name no usable waypoint (%1 their numbers).
inline constexpr QStringView SitesFileBadLines = u"サイトファイルの%1行目は読めないので使いません。";

// The IGC settings dialog.
inline constexpr QStringView IgcSettingsCaption = u"IGC設定";                       // caption
inline constexpr QStringView IgcSettingsOffset = u"計器の時計のUTCとの時差（時間）"; // the clock's offset from UTC, hours
inline constexpr QStringView IgcSettingsSites = u"サイトファイル（SeeYou CUP形式）"; // the sites file
inline constexpr QStringView IgcSettingsBrowse = u"参照...";                          // browse
inline constexpr QStringView IgcSettingsBadOffset = u"時差は -12 から +14 の時間で入力してください（例：+9、+5.5、+5:45）。";

// Flights imported from other instruments' logs (IGC, GPX).
inline constexpr QStringView ImportNotTrackLog = u"IGCファイルでもGPXファイルでもありません。"; // a foreign file
inline constexpr QStringView ImportNoFix = u"使える記録点がありません。";            // fewer than two usable fixes
inline constexpr QStringView ImportNoDate = u"日付（HFDTE）がありません。";          // no date header
inline constexpr QStringView ImportTooLong = u"記録が長すぎます。";                   // longer than a barograph holds
inline constexpr QStringView ImportBadDate = u"日付が1970年から2069年の外です。";    // a date the log's YY cannot hold
inline constexpr QStringView ImportCannotRead = u"ファイルが読めません。";           // the reason follows
// The altitudes are GNSS altitudes: the log holds no pressure altitude.
inline constexpr QStringView ImportGnssAltitude = u"気圧高度がないのでGPS高度を使いました。";
inline constexpr QStringView ImportBrokenRecords = u"読めない記録%1件を飛ばしました。"; // %1 records skipped
inline constexpr QStringView ImportSameSource = u"同じファイルを取り込み済みです。";   // same SHA-1 as a row's source
inline constexpr QStringView ImportSameFlight = u"%1行目と同じフライトです。";         // same flight as row %1
inline constexpr QStringView ImportSameAsFile = u"%1と同じフライトです。";             // same flight as file %1
inline constexpr QStringView ImportStep = u"取り込み";                                 // the undo step
// The report: n imported, m already in the log, k unreadable.
inline constexpr QStringView ImportReport = u"%1件取り込み、%2件は既にあります、%3件は読めません";
inline constexpr QStringView ImportStatusNew = u"新規";                // status: new
inline constexpr QStringView ImportStatusDuplicate = u"既にあります"; // status: already in the log
inline constexpr QStringView ImportStatusError = u"読めません";        // status: unreadable
// The import's menu command and preview dialog.
inline constexpr QStringView ImportCommand = u"他の計器のﾌﾗｲﾄを取り込む(&I)...";       // menu item
inline constexpr QStringView ImportCommandHint = u"IGCやGPXの飛行ログからﾌﾗｲﾄとﾊﾞﾛｸﾞﾗﾌを作る"; // its hint
inline constexpr QStringView ImportCaption = u"フライトの取り込み";                     // dialog caption
inline constexpr QStringView ImportSources = u"IGC/GPXファイルまたはフォルダー：";      // the path field's label
inline constexpr QStringView ImportChooseFiles = u"ファイル...";                        // choose files
inline constexpr QStringView ImportChooseFolder = u"フォルダー...";                     // choose a folder
inline constexpr QStringView ImportFilter = u"飛行ログ(*.igc *.gpx *.IGC *.GPX)";       // file dialog filter
inline constexpr QStringView ImportRead = u"読込(&R)";                                  // read the files
inline constexpr QStringView ImportStop = u"中止";                                      // stop reading
inline constexpr QStringView ImportZone = u"時差：";                                     // the zone's label
inline constexpr QStringView ImportZoneComputer = u"コンピューターの時刻帯";              // the computer's time zone
inline constexpr QStringView ImportZoneUtc = u"UTC%1";                                   // UTC+9, UTC-3.5, UTC+5:45
inline constexpr QStringView ImportApply = u"取り込む(&I)";                             // apply the preview
inline constexpr QStringView ImportClose = u"キャンセル";                               // close, nothing written
inline constexpr QStringView ImportSkipAll = u"重複をすべてスキップ";                   // apply to all: skip
inline constexpr QStringView ImportAddAll = u"重複をすべて追加";                        // apply to all: add anyway
inline constexpr QStringView ImportChoiceSkip = u"スキップ";                            // a duplicate skipped
inline constexpr QStringView ImportChoiceAdd = u"追加する";                             // a duplicate added anyway
inline constexpr QStringView ImportExistingRow = u"　ログ %1行目";                      // the log's row beside a duplicate
inline constexpr QStringView ImportColumnFile = u"ファイル";                            // column: file
inline constexpr QStringView ImportColumnStatus = u"状態";                              // column: status
inline constexpr QStringView ImportColumnChoice = u"選択";                              // column: choice
inline constexpr QStringView ImportColumnReason = u"理由・注意";                        // column: reason or notes
inline constexpr QStringView ImportReading = u"読込中 %1/%2";                           // reading n of N
inline constexpr QStringView ImportStopped = u"中止しました（%1/%2件を読みました）";     // stopped after n of N
inline constexpr QStringView ImportAllRead = u"%1件を読みました";                       // every file read
// What applying would do, shown before it is applied.
inline constexpr QStringView ImportWouldDo = u"取り込むと：%1";
// The currency window (ライセンス・カレンシー), its gear list and the proof on paper.
inline constexpr QStringView CurrencyCaption = u"ライセンス・カレンシー";               // licence and currency (caption)
inline constexpr QStringView CurrencyOn = u"基準日";                                  // the day the status is for
inline constexpr QStringView CurrencyBadDate = u"日付を YY/MM/DD の形で入れてください（例 26/12/08）。"; // not a date
inline constexpr QStringView CurrencyRules = u"規則";                                 // rules (tab)
inline constexpr QStringView CurrencyGear = u"装備";                                  // gear (tab)
inline constexpr QStringView CurrencyName = u"名前";                                  // name
inline constexpr QStringView CurrencyKind = u"種類";                                  // kind
inline constexpr QStringView CurrencyCount = u"実績";                                 // count so far
inline constexpr QStringView CurrencyMin = u"必要";                                   // needed
inline constexpr QStringView CurrencyState = u"状態";                                 // met or not
inline constexpr QStringView CurrencyLapses = u"失効日";                              // the day it lapses
inline constexpr QStringView CurrencySource = u"出典";                                // where the rule comes from
inline constexpr QStringView CurrencyMet = u"達成";                                   // met
inline constexpr QStringView CurrencyNotMet = u"未達";                                // not met
inline constexpr QStringView CurrencyKindFlights = u"フライト数";                     // flights
inline constexpr QStringView CurrencyKindDays = u"飛行日数";                          // flying days
inline constexpr QStringView CurrencyKindHours = u"飛行時間";                         // hours
// What a rule asks (%1 the number; for heights %1 metres and %2 flights).
inline constexpr QStringView CurrencyAtLeastFlights = u"フライト数 %1以上";           // at least %1 flights
inline constexpr QStringView CurrencyAtLeastDays = u"飛行日数 %1日以上";              // at least %1 flying days
inline constexpr QStringView CurrencyAtLeastHours = u"飛行時間 %1時間以上";           // at least %1 hours
inline constexpr QStringView CurrencyAtLeastHeight = u"高度差%1m以上のフライト %2本以上"; // %2 flights of %1 m
inline constexpr QStringView CurrencyExpiresOn = u"期限 %1";                          // valid until %1
inline constexpr QStringView CurrencyKindHeightShort = u"高度差のフライト";           // flights of a height difference
inline constexpr QStringView CurrencyKindExpiry = u"期限";                            // expiry date
inline constexpr QStringView CurrencyWithin = u"（%1日以内）";                        // (within %1 days)
inline constexpr QStringView CurrencyAllTime = u"（通算）";                           // (all time)
inline constexpr QStringView CurrencySoon = u"30日以内に失効：%1";                    // lapse within 30 days: (list)
inline constexpr QStringView CurrencyNoneSoon = u"30日以内に失効する規則はありません。"; // none lapses within 30 days
inline constexpr QStringView CurrencyRow = u"行";                                     // row
inline constexpr QStringView CurrencyDrop = u"高度差";                                // height difference
inline constexpr QStringView CurrencyOrigin = u"記録";                                // where the figures come from
inline constexpr QStringView CurrencyFromInstrument = u"計器（生データあり）";         // downloaded here, raw copy kept
inline constexpr QStringView CurrencyTyped = u"手入力";                               // typed by the pilot
inline constexpr QStringView CurrencyNotCounted = u"数えていない行 %1：%2";           // row %1 not counted: (why)
inline constexpr QStringView CurrencyAddPreset = u"プリセットから追加";               // add from the presets
inline constexpr QStringView CurrencyAddRule = u"規則を追加";                         // add a rule
inline constexpr QStringView CurrencyEditRule = u"編集";                              // edit
inline constexpr QStringView CurrencyRemove = u"削除";                                // remove
inline constexpr QStringView CurrencyProof = u"証明PDF";                              // the proof as PDF
inline constexpr QStringView CurrencyProofTitle = u"規則の証明：%1";                  // proof of rule %1
inline constexpr QStringView CurrencyProofWritten = u"証明PDFを書き込みました。";      // the proof is written
inline constexpr QStringView CurrencyProofCannotWrite = u"証明PDFを書き込めません。";  // the reason follows
inline constexpr QStringView CurrencyChooseRule = u"規則を選んでください。";           // choose a rule first
inline constexpr QStringView CurrencyChooseGear = u"装備を選んでください。";           // choose an item first
inline constexpr QStringView CurrencyNeedName = u"名前を入れてください。";             // a name is needed
inline constexpr QStringView CurrencyNameTaken = u"同じ名前の装備があります。";        // an item of that name exists
// The notice when a log opens.
inline constexpr QStringView CurrencyNotice = u"30日以内に失効する規則があります。\n%1"; // rules lapsing within 30 days
// The gear list.
inline constexpr QStringView GearFlights = u"点検後フライト";                         // flights since the check
inline constexpr QStringView GearHours = u"点検後時間";                               // hours since the check
inline constexpr QStringView GearLastCheck = u"最終点検";                             // last check
inline constexpr QStringView GearDue = u"次回点検";                                   // due
inline constexpr QStringView GearDueBy = u"理由";                                     // what makes it due
inline constexpr QStringView GearLimits = u"点検間隔";                                // the limits
inline constexpr QStringView GearFirstUse = u"使用開始";                              // first use (button and text)
inline constexpr QStringView GearCheck = u"点検済み";                                 // checked (button)
inline constexpr QStringView GearAdd = u"装備を追加";                                 // add an item
inline constexpr QStringView GearKindGlider = u"グライダー";                          // glider
inline constexpr QStringView GearKindHarness = u"ハーネス";                           // harness
inline constexpr QStringView GearKindReserve = u"レスキュー";                         // reserve
inline constexpr QStringView GearKindInstrument = u"計器";                            // instrument
inline constexpr QStringView GearByMonths = u"月数";                                  // by months
inline constexpr QStringView GearByHours = u"時間";                                   // by hours
inline constexpr QStringView GearByFlights = u"本数";                                 // by flights
inline constexpr QStringView GearByEvent = u"ツリー・着水など（%1行目）";             // an event (row %1)
inline constexpr QStringView GearEveryMonths = u"%1か月";                             // every %1 months
inline constexpr QStringView GearEveryHours = u"%1時間";                              // every %1 hours
inline constexpr QStringView GearEveryFlights = u"%1本";                              // every %1 flights
inline constexpr QStringView GearDate = u"日付 (YY/MM/DD)";                           // a date, as asked
inline constexpr QStringView CurrencyWindowDays = u"日数（0は通算）";                  // days of the window (0: all time)

} // namespace baromsg
