<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Archive</name>
    <message>
        <source>記録保管庫が他のプログラムに使われています。</source>
        <translation>The recordings archive is in use by another program.</translation>
    </message>
    <message>
        <source>記録保管庫に書き込めません（読み取り専用）。</source>
        <translation>The recordings archive cannot be written (read-only).</translation>
    </message>
    <message>
        <source>ディスクがいっぱいで記録保管庫に書き込めません。</source>
        <translation>The disk is full; the recordings archive cannot be written.</translation>
    </message>
    <message>
        <source>記録保管庫が壊れています。</source>
        <translation>The recordings archive is damaged.</translation>
    </message>
    <message>
        <source>記録保管庫はこのプログラムより新しい版のものです。</source>
        <translation>The recordings archive is from a newer version of this program.</translation>
    </message>
    <message>
        <source>記録保管庫に書き込めません。</source>
        <translation>The recordings archive cannot be written.</translation>
    </message>
    <message>
        <source>作業はそのまま続けられます。記録は書き込めるようになった時に書き込みます。</source>
        <translation>Your work goes on as usual; its records are written once the archive can be written again.</translation>
    </message>
    <message>
        <source>変更の理由</source>
        <translation>Reason for the change</translation>
    </message>
    <message>
        <source>チャンネル名</source>
        <translation>Channel name</translation>
    </message>
    <message>
        <source>記録開始時刻</source>
        <translation>Recording start</translation>
    </message>
    <message>
        <source>%1を変更しました: %2 → %3
変更の理由を入力してください。</source>
        <translation>%1 changed: %2 → %3
Please enter the reason for the change.</translation>
    </message>
    <message>
        <source>%s は記録保管庫の記録 %lld のファイルですが、内容が保管した時と違います。</source>
        <translation>%s is the file of recording %lld in the archive, but its contents differ from what was archived.</translation>
    </message>
    <message>
        <source>保管時の SHA-256:</source>
        <translation>SHA-256 when archived:</translation>
    </message>
    <message>
        <source>現在の SHA-256:</source>
        <translation>SHA-256 now:</translation>
    </message>
    <message>
        <source>記録保管庫は元の記録についての出来事として残します。</source>
        <translation>The archive records this as an event of the original recording.</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>記録保管庫 %s はネットワーク上のファイルシステム（%s）にあります。複数のコンピューターから使うと、ファイルが壊れることがあります。</source>
        <translation>The archive %s lies on a network file system (%s). Used from several computers, the file can be damaged.</translation>
    </message>
    <message>
        <source>何台ものコンピューターで一つの記録保管庫を使うには、サーバー上の記録保管庫（PostgreSQL）をお使いください。</source>
        <translation>For one archive shared by several computers, use a site archive on a server (PostgreSQL).</translation>
    </message>
    <message>
        <source>記録保管庫の設定「変更には理由が必要」</source>
        <translation>the archive setting &quot;a reason is required for every change&quot;</translation>
    </message>
    <message>
        <source>記録保管庫への取り込み</source>
        <translation>Taking in the kept downloads</translation>
    </message>
    <message>
        <source>取り込むと、それぞれ「作成、取り込み」として履歴に残ります。この記録保管庫についてはもう尋ねません。</source>
        <translation>Each one taken in is recorded in its history as "Created, imported". You will not be asked again about this archive.</translation>
    </message>
    <message>
        <source>取り込む(&amp;Y)</source>
        <translation>&amp;Take in</translation>
    </message>
    <message>
        <source>取り込まない(&amp;N)</source>
        <translation>Do &amp;not take in</translation>
    </message>
    <message numerus="yes">
        <source>このｺﾝﾋﾟｭｰﾀｰに保管されている吸い上げﾃﾞｰﾀ %n 件が、記録保管庫 %1 にありません。取り込みますか？</source>
        <translation>
            <numerusform>%n download kept on this computer is not in the archive %1. Take it in?</numerusform>
            <numerusform>%n downloads kept on this computer are not in the archive %1. Take them in?</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AuditTrailPdf</name>
    <message>
        <source>対象: 記録 #%1 (%2)</source>
        <translation>Covers: recording #%1 (%2)</translation>
    </message>
    <message>
        <source>対象: ｱｰｶｲﾌﾞ全体</source>
        <translation>Covers: the whole archive</translation>
    </message>
    <message>
        <source>期間: すべて</source>
        <translation>Period: all</translation>
    </message>
    <message>
        <source>期間: %1 から %2 の前まで</source>
        <translation>Period: from %1 to before %2</translation>
    </message>
    <message>
        <source>作成者: %1 (ﾎｽﾄ %2)    作成: %3    ﾌﾟﾛｸﾞﾗﾑ: Saroko %4</source>
        <translation>Made by: %1 (host %2)    Made: %3    Program: Saroko %4</translation>
    </message>
    <message>
        <source>ﾁｪｰﾝ: 全 %1 件のうち番号 %2 の事象で途切れています (%3)。</source>
        <translation>Chain: of %1 events, the chain breaks at event %2 (%3).</translation>
    </message>
    <message>
        <source>ﾁｪｰﾝ: 全 %1 件が正しくつながっています (作成時に検証)。</source>
        <translation>Chain: all %1 events hold together (checked when this was made).</translation>
    </message>
    <message>
        <source>ﾁｪｰﾝﾍｯﾄﾞ: %1</source>
        <translation>Chain head: %1</translation>
    </message>
    <message>
        <source>事象: %1 件</source>
        <translation>Events: %1</translation>
    </message>
    <message>
        <source>番号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>ﾕｰｻﾞｰ</source>
        <translation>User</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>記録</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>変更前</source>
        <translation>Old value</translation>
    </message>
    <message>
        <source>変更後</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>理由</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>前のﾊｯｼｭ %1    ﾊｯｼｭ %2</source>
        <translation>Previous hash %1    Hash %2</translation>
    </message>
    <message>
        <source>監査証跡</source>
        <translation>Audit trail</translation>
    </message>
    <message>
        <source>＜監査証跡＞</source>
        <translation>&lt;Audit trail&gt;</translation>
    </message>
    <message>
        <source>期間: %1 から</source>
        <translation>Period: from %1</translation>
    </message>
    <message>
        <source>期間: %1 の前まで</source>
        <translation>Period: before %1</translation>
    </message>
    <message>
        <source>対象: 保管場所 %1</source>
        <translation>Covers: storage unit %1</translation>
    </message>
</context>
<context>
    <name>CCalcRangeDlg</name>
    <message>
        <source>年</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>月</source>
        <translation>M</translation>
    </message>
    <message>
        <source>日</source>
        <translation>D</translation>
    </message>
    <message>
        <source>時</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
</context>
<context>
    <name>CDataListDlg</name>
    <message>
        <source>最高</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>最低</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Avg</translation>
    </message>
    <message>
        <source>／</source>
        <translation>/</translation>
    </message>
</context>
<context>
    <name>CPrintDialogBase</name>
    <message>
        <source>正の整数を入力してください。</source>
        <translation>Enter a positive whole number.</translation>
    </message>
</context>
<context>
    <name>CQtFileDialogs</name>
    <message>
        <source>KM-4シリーズ (*.KLG *.klg)</source>
        <translation>KM-4 series (*.KLG *.klg)</translation>
    </message>
    <message>
        <source>KM3/2シリーズ (*.KSV *.ksv)</source>
        <translation>KM-3/2 series (*.KSV *.ksv)</translation>
    </message>
    <message>
        <source>全てのファイル (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>ｶﾝﾏ区切り (*.TXT *.txt)</source>
        <translation>Comma separated (*.TXT *.txt)</translation>
    </message>
    <message>
        <source>ﾀﾌﾞ区切り (*.TXT *.txt)</source>
        <translation>Tab separated (*.TXT *.txt)</translation>
    </message>
    <message>
        <source>ｾﾐｺﾛﾝ区切り (*.TXT *.txt)</source>
        <translation>Semicolon separated (*.TXT *.txt)</translation>
    </message>
    <message>
        <source>ｽﾍﾟｰｽ区切り (*.TXT *.txt)</source>
        <translation>Space separated (*.TXT *.txt)</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>表示範囲を保存</source>
        <translation>Save displayed range</translation>
    </message>
    <message>
        <source>全データを保存</source>
        <translation>Save all data</translation>
    </message>
    <message>
        <source>表示範囲をテキストファイル出力</source>
        <translation>Export displayed range as text</translation>
    </message>
    <message>
        <source>全データをテキストファイル出力</source>
        <translation>Export all data as text</translation>
    </message>
</context>
<context>
    <name>CRecCondDlg</name>
    <message>
        <source>年</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>月</source>
        <translation>M</translation>
    </message>
    <message>
        <source>日</source>
        <translation>D</translation>
    </message>
    <message>
        <source>時</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
</context>
<context>
    <name>CZorvicApp</name>
    <message>
        <source>ディスプレイが見つかりません。ウィンドウを開けません</source>
        <translation>no display was found; the window cannot open</translation>
    </message>
</context>
<context>
    <name>Channels</name>
    <message>
        <source> ＯＮ </source>
        <translation> ON  </translation>
    </message>
    <message>
        <source>ＯＦＦ</source>
        <translation> OFF </translation>
    </message>
    <message>
        <source>しない</source>
        <translation> Keep </translation>
    </message>
    <message>
        <source> する </source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>整数を入力してください。</source>
        <translation>Enter a whole number.</translation>
    </message>
    <message>
        <source>   削  除</source>
        <translation>  Deleted</translation>
    </message>
    <message>
        <source>             削    除</source>
        <translation>              Deleted</translation>
    </message>
    <message>
        <source> から</source>
        <translation> from</translation>
    </message>
    <message>
        <source> まで</source>
        <translation> to</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>不明</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>機種 : </source>
        <translation>Model: </translation>
    </message>
    <message>
        <source>ｹﾙﾌﾞﾗ Ch.1 : </source>
        <translation>Recorder Ch.1: </translation>
    </message>
    <message>
        <source>ｹﾙﾌﾞﾗ Ch.2 : </source>
        <translation>Recorder Ch.2: </translation>
    </message>
    <message>
        <source>開始日時 : </source>
        <translation>Start: </translation>
    </message>
    <message>
        <source>開始方法 : </source>
        <translation>Start method: </translation>
    </message>
    <message>
        <source>記録ﾓｰﾄﾞ : </source>
        <translation>Recording mode: </translation>
    </message>
    <message>
        <source>ｾﾝｻ種類 : </source>
        <translation>Sensor: </translation>
    </message>
    <message>
        <source>記録間隔 : </source>
        <translation>Interval: </translation>
    </message>
</context>
<context>
    <name>Dates</name>
    <message>
        <source>%4d年 %2d月 %2d日 %2d時 %2d分 %2d秒</source>
        <translation>%4d/%02d/%02d %02d:%02d:%02d</translation>
    </message>
    <message>
        <source>????年 ??月 ??日</source>
        <translation>????/??/??</translation>
    </message>
    <message>
        <source>%4d年 %2d月 %2d日</source>
        <translation>%4d/%02d/%02d</translation>
    </message>
    <message>
        <source>  ??時 ??分 ??秒</source>
        <translation>  ??:??:??</translation>
    </message>
    <message>
        <source>  %2d時 %2d分 %2d秒</source>
        <translation>  %02d:%02d:%02d</translation>
    </message>
</context>
<context>
    <name>Download</name>
    <message>
        <source>残り %d:%02d:%02d</source>
        <translation>%d:%02d:%02d left</translation>
    </message>
    <message>
        <source>残り %d:%02d</source>
        <translation>%d:%02d left</translation>
    </message>
    <message>
        <source>%u / %u 件</source>
        <translation>%u / %u records</translation>
    </message>
    <message>
        <source>試行 %d/%d</source>
        <translation>attempt %d/%d</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>開く(O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>全データを上書き保存(W)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>全データを保存(A)...</source>
        <translation>Save &amp;all data as...</translation>
    </message>
    <message>
        <source>表示範囲を保存(D)...</source>
        <translation>Save &amp;displayed range as...</translation>
    </message>
    <message>
        <source>全データをﾃｷｽﾄﾌｧｲﾙ出力(T)...</source>
        <translation>Export all data as &amp;text...</translation>
    </message>
    <message>
        <source>表示範囲をﾃｷｽﾄﾌｧｲﾙ出力(F)...</source>
        <translation>Export displayed ran&amp;ge as text...</translation>
    </message>
    <message>
        <source>カラーグラフ印刷(P)...</source>
        <translation>&amp;Print graph in colour...</translation>
    </message>
    <message>
        <source>モノクログラフ印刷(M)...</source>
        <translation>Print graph in &amp;monochrome...</translation>
    </message>
    <message>
        <source>データ一覧印刷(L)...</source>
        <translation>Print data &amp;list...</translation>
    </message>
    <message>
        <source>プリンタの設定(R)...</source>
        <translation>P&amp;rinter setup...</translation>
    </message>
    <message>
        <source>以前開いたファイル</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>終了(X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>コピー(C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>記録スタート(S)...</source>
        <translation>&amp;Start recording...</translation>
    </message>
    <message>
        <source>記録データ吸い上げ(D)...</source>
        <translation>&amp;Download recording...</translation>
    </message>
    <message>
        <source>シリアルポートの選択(P)...</source>
        <translation>Serial &amp;port...</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ一覧表示(L)...</source>
        <translation>Data &amp;list...</translation>
    </message>
    <message>
        <source>指定Ch.表示ON/OFF(D)...</source>
        <translation>Channel &amp;display on/off...</translation>
    </message>
    <message>
        <source>指定Ch.ﾃﾞｰﾀ削除(E)...</source>
        <translation>D&amp;elete channel data...</translation>
    </message>
    <message>
        <source>Ch.ﾃﾞｰﾀの並び替え(O)...</source>
        <translation>Re&amp;order channels...</translation>
    </message>
    <message>
        <source>Ch.ｶﾗｰ変更(C)...</source>
        <translation>Channel &amp;colours...</translation>
    </message>
    <message>
        <source>単位切り替え ﾟC ⇔ ﾟF (U)</source>
        <translation>Switch &amp;unit °C ⇔ °F</translation>
    </message>
    <message>
        <source>計算範囲の設定(R)...</source>
        <translation>Calculation &amp;range...</translation>
    </message>
    <message>
        <source>記録条件の編集(I)...</source>
        <translation>Recording cond&amp;itions...</translation>
    </message>
    <message>
        <source>カーソルスタイル(C)</source>
        <translation>&amp;Cursor style</translation>
    </message>
    <message>
        <source>実線(S)</source>
        <translation>&amp;Solid</translation>
    </message>
    <message>
        <source>点線(D)</source>
        <translation>&amp;Dotted</translation>
    </message>
    <message>
        <source>破線(A)</source>
        <translation>D&amp;ashed</translation>
    </message>
    <message>
        <source>Ａカーソル(A)</source>
        <translation>Cursor &amp;A</translation>
    </message>
    <message>
        <source>Ｂカーソル(B)</source>
        <translation>Cursor &amp;B</translation>
    </message>
    <message>
        <source>カーソル右移動(R)</source>
        <translation>Cursor &amp;right</translation>
    </message>
    <message>
        <source>カーソル左移動(L)</source>
        <translation>Cursor &amp;left</translation>
    </message>
    <message>
        <source>倍率アップ(I)</source>
        <translation>Zoom &amp;in</translation>
    </message>
    <message>
        <source>倍率ダウン(O)</source>
        <translation>Zoom &amp;out</translation>
    </message>
    <message>
        <source>グラフ右移動(G)</source>
        <translation>Scroll ri&amp;ght</translation>
    </message>
    <message>
        <source>グラフ左移動(F)</source>
        <translation>Scroll le&amp;ft</translation>
    </message>
    <message>
        <source>グラフ上移動(U)</source>
        <translation>Scroll &amp;up</translation>
    </message>
    <message>
        <source>グラフ下移動(D)</source>
        <translation>Scroll &amp;down</translation>
    </message>
    <message>
        <source>縦軸フルスケール設定(S)...</source>
        <translation>Vertical full &amp;scale...</translation>
    </message>
    <message>
        <source>目次(C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>バージョン情報(A)...</source>
        <translation>&amp;About Saroko...</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>通信(C)</source>
        <translation>&amp;Communication</translation>
    </message>
    <message>
        <source>ﾂｰﾙ(T)</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾌ操作(G)</source>
        <translation>&amp;Graph</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>レポート出力(E)...</source>
        <translation>R&amp;eport...</translation>
    </message>
    <message>
        <source>記録ﾃﾞｰﾀ一覧(K)...</source>
        <translation>Re&amp;cordings...</translation>
    </message>
    <message>
        <source>名前･開始時刻の変更理由を尋ねる(Y)</source>
        <translation>&amp;Ask for a reason when a name or start changes</translation>
    </message>
    <message>
        <source>記録保管庫の場所(A)...</source>
        <translation>&amp;Archive location...</translation>
    </message>
    <message>
        <source>保管場所と校正(K)...</source>
        <translation>S&amp;torage units and calibration...</translation>
    </message>
    <message>
        <source>レポートに署名(G)...</source>
        <translation>Si&amp;gn report...</translation>
    </message>
    <message>
        <source>署名鍵(S)...</source>
        <translation>&amp;Signing keys...</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>通信結果

通信は正常終了しました。</source>
        <translation>Communication result

Communication completed successfully.</translation>
    </message>
    <message>
        <source>通信エラー

シリアルポートのオープンエラーです。
デバイス識別子が無効か、サポートされていません。</source>
        <translation>Communication error

The serial port could not be opened.
The device name is invalid or not supported.</translation>
    </message>
    <message>
        <source>通信エラー

シリアルポートのオープンエラーです。
デバイスのボーレートはサポートされていません。</source>
        <translation>Communication error

The serial port could not be opened.
The device does not support the baud rate.</translation>
    </message>
    <message>
        <source>通信エラー

シリアルポートのオープンエラーです。
指定されたバイトサイズが無効です。</source>
        <translation>Communication error

The serial port could not be opened.
The byte size is invalid.</translation>
    </message>
    <message>
        <source>通信エラー

シリアルポートのオープンエラーです。
デフォルトのパラメータが間違っています。</source>
        <translation>Communication error

The serial port could not be opened.
The default parameters are wrong.</translation>
    </message>
    <message>
        <source>通信エラー

シリアルポートのオープンエラーです。
ハードウェアが利用可能ではありません。</source>
        <translation>Communication error

The serial port could not be opened.
The hardware is not available.</translation>
    </message>
    <message>
        <source>通信エラー

シリアルポートのオープンエラーです。
関数がキューを割り当てることができません。</source>
        <translation>Communication error

The serial port could not be opened.
The port&apos;s queues could not be allocated.</translation>
    </message>
    <message>
        <source>通信エラー

シリアルポートのオープンエラーです。
デバイスがオープンされていません。</source>
        <translation>Communication error

The serial port could not be opened.
The device is not open.</translation>
    </message>
    <message>
        <source>通信エラー

シリアルポートのオープンエラーです。
デバイスはすでにオープンされています。</source>
        <translation>Communication error

The serial port could not be opened.
The device is already open.</translation>
    </message>
    <message>
        <source>通信エラー

ケルブラのモードが不適切か未接続です。</source>
        <translation>Communication error

The recorder is in the wrong mode or not connected.</translation>
    </message>
    <message>
        <source>通信エラー

ケルブラのモードが不適切です。</source>
        <translation>Communication error

The recorder is in the wrong mode.</translation>
    </message>
    <message>
        <source>通信エラー

ケルブラが未接続です。</source>
        <translation>Communication error

The recorder is not connected.</translation>
    </message>
    <message>
        <source>通信エラー

ケルブラとの通信が途中で失敗しました。</source>
        <translation>Communication error

Communication with the recorder failed part way.</translation>
    </message>
    <message>
        <source>通信エラー

記録データがありません。</source>
        <translation>Communication error

There is no recorded data.</translation>
    </message>
    <message>
        <source>通信エラー

チェックサムエラーです。</source>
        <translation>Communication error

Checksum error.</translation>
    </message>
    <message>
        <source>通信エラー

通信できません。</source>
        <translation>Communication error

Cannot communicate.</translation>
    </message>
    <message>
        <source>チャンネル名 入力エラー

チャンネル名は８文字以内で入力してください。</source>
        <translation>Channel name error

Enter a channel name of at most 8 characters.</translation>
    </message>
    <message>
        <source>日時（年）入力エラー

日時として認められない文字が入力されています。</source>
        <translation>Date/time (year) error

The field contains characters that are not a date or time.</translation>
    </message>
    <message>
        <source>日時（月）入力エラー

日時として認められない文字が入力されています。</source>
        <translation>Date/time (month) error

The field contains characters that are not a date or time.</translation>
    </message>
    <message>
        <source>日時（日）入力エラー

日時として認められない文字が入力されています。</source>
        <translation>Date/time (day) error

The field contains characters that are not a date or time.</translation>
    </message>
    <message>
        <source>日時（時）入力エラー

日時として認められない文字が入力されています。</source>
        <translation>Date/time (hour) error

The field contains characters that are not a date or time.</translation>
    </message>
    <message>
        <source>日時（分）入力エラー

日時として認められない文字が入力されています。</source>
        <translation>Date/time (minute) error

The field contains characters that are not a date or time.</translation>
    </message>
    <message>
        <source>日時（秒）入力エラー

日時として認められない文字が入力されています。</source>
        <translation>Date/time (second) error

The field contains characters that are not a date or time.</translation>
    </message>
    <message>
        <source>日時（年）入力エラー

１９７０～２０３５を入力してください。</source>
        <translation>Date/time (year) error

Enter a year from 1970 to 2035.</translation>
    </message>
    <message>
        <source>日時（月）入力エラー

１～１２の範囲で入力してください。</source>
        <translation>Date/time (month) error

Enter a month from 1 to 12.</translation>
    </message>
    <message>
        <source>日時（日）入力エラー

正しい日付を入力してください。</source>
        <translation>Date/time (day) error

Enter a valid day.</translation>
    </message>
    <message>
        <source>日時（時）入力エラー

０～２３の範囲で入力してください。</source>
        <translation>Date/time (hour) error

Enter an hour from 0 to 23.</translation>
    </message>
    <message>
        <source>日時（分）入力エラー

０～５９の範囲で入力してください。</source>
        <translation>Date/time (minute) error

Enter minutes from 0 to 59.</translation>
    </message>
    <message>
        <source>日時（秒）入力エラー

０～５９の範囲で入力してください。</source>
        <translation>Date/time (second) error

Enter seconds from 0 to 59.</translation>
    </message>
    <message>
        <source>開始方法入力エラー

予約スタートか即時スタートを選択してください。</source>
        <translation>Start method error

Choose a scheduled start or an immediate start.</translation>
    </message>
    <message>
        <source>パレット（Red）入力エラー

数値として認められない文字が入力されています。</source>
        <translation>Palette (Red) error

The field contains characters that are not a number.</translation>
    </message>
    <message>
        <source>パレット（Green）入力エラー

数値として認められない文字が入力されています。</source>
        <translation>Palette (Green) error

The field contains characters that are not a number.</translation>
    </message>
    <message>
        <source>パレット（Blue）入力エラー

数値として認められない文字が入力されています。</source>
        <translation>Palette (Blue) error

The field contains characters that are not a number.</translation>
    </message>
    <message>
        <source>パレット（Red）入力エラー

０～２５５の範囲で入力してください。</source>
        <translation>Palette (Red) error

Enter a value from 0 to 255.</translation>
    </message>
    <message>
        <source>パレット（Green）入力エラー

０～２５５の範囲で入力してください。</source>
        <translation>Palette (Green) error

Enter a value from 0 to 255.</translation>
    </message>
    <message>
        <source>パレット（Blue）入力エラー

０～２５５の範囲で入力してください。</source>
        <translation>Palette (Blue) error

Enter a value from 0 to 255.</translation>
    </message>
    <message>
        <source>日時チェックエラー

システムカレンダ値へ変換できない日時が入力されています。</source>
        <translation>Date/time check error

The date and time entered cannot be converted to a calendar time.</translation>
    </message>
    <message>
        <source>日時チェックエラー

記録開始日時が、現在日時より過去を示しています。</source>
        <translation>Date/time check error

The recording start is earlier than the current time.</translation>
    </message>
    <message>
        <source>日時チェックエラー

算出有効範囲の終了日時が、開始日時より過去を示しています。</source>
        <translation>Date/time check error

The end of the calculation range is earlier than its start.</translation>
    </message>
    <message>
        <source>チャンネルＮｏ指定エラー

チャンネルＮｏを指定してください。</source>
        <translation>Channel number error

Choose a channel number.</translation>
    </message>
    <message>
        <source>ファイル名指定エラー

指定されたファイルは存在しません。</source>
        <translation>File name error

The file does not exist.</translation>
    </message>
    <message>
        <source>ファイル名指定エラー

拡張子が違うか入力されていません。</source>
        <translation>File name error

The file name extension is wrong or missing.</translation>
    </message>
    <message>
        <source>設定値受信

マニュアル操作により記録を開始している為、
開始方法と記録開始日時が不明です。</source>
        <translation>Settings received

The recording was started by hand on the recorder,
so the start method and start time are unknown.</translation>
    </message>
    <message>
        <source>読み取り専用ファイルのため上書き保存できません。
</source>
        <translation>The file is read-only and cannot be overwritten.
</translation>
    </message>
    <message>
        <source>データの保存に失敗しました。</source>
        <translation>The data could not be saved.</translation>
    </message>
    <message>
        <source>上書き確認

記録データが上書きされますがよろしいですか？</source>
        <translation>Confirm overwrite

The recorded data will be overwritten. Continue?</translation>
    </message>
    <message>
        <source>読み込み確認

チャンネル１～８の範囲を越えてしまいます。可能な範囲で読み込みを続行してもよろしいですか？</source>
        <translation>Confirm loading

The data does not fit in channels 1 to 8. Load as many channels as fit?</translation>
    </message>
    <message>
        <source>終了確認

データが保存されていませんが、アプリケーションを
終了してよろしいですか？</source>
        <translation>Confirm exit

The data has not been saved.
Exit the application anyway?</translation>
    </message>
    <message>
        <source>機種判別処理

接続されている機種は不明です。</source>
        <translation>Model check

The connected model is unknown.</translation>
    </message>
    <message>
        <source>上下限値入力エラー

上限値が正しく入力されていません。</source>
        <translation>Limit error

The upper limit is not valid.</translation>
    </message>
    <message>
        <source>上下限値入力エラー

下限値が正しく入力されていません。</source>
        <translation>Limit error

The lower limit is not valid.</translation>
    </message>
    <message>
        <source>上下限値入力エラー

上限値の有効桁数が６桁を越えています。</source>
        <translation>Limit error

The upper limit has more than 6 significant digits.</translation>
    </message>
    <message>
        <source>上下限値入力エラー

下限値の有効桁数が６桁を越えています。</source>
        <translation>Limit error

The lower limit has more than 6 significant digits.</translation>
    </message>
    <message>
        <source>上下限値入力エラー

上限値より下限値の方が大きい値になっています。</source>
        <translation>Limit error

The lower limit is greater than the upper limit.</translation>
    </message>
    <message>
        <source>上下限値入力エラー

上下限値の差が２未満になっています。</source>
        <translation>Limit error

The upper and lower limits are less than 2 apart.</translation>
    </message>
    <message>
        <source>控え保存エラー

吸い上げたデータの控えを保存できませんでした。</source>
        <translation>Copy error

The copy of the downloaded data could not be kept.</translation>
    </message>
    <message>
        <source>

通信記録ファイル:
</source>
        <translation>

Transcript of the exchange:
</translation>
    </message>
    <message>
        <source>ファイル読み込みエラー

ファイルを読み込めませんでした。</source>
        <translation>File read error

The file could not be read.</translation>
    </message>
    <message>
        <source>ファイル読み込みエラー

ファイルが短すぎます。データファイルではないか、壊れています。</source>
        <translation>File read error

The file is too short: it is no data file, or it is damaged.</translation>
    </message>
    <message>
        <source>ファイル読み込みエラー

データが途中で切れています。ファイルが壊れています。</source>
        <translation>File read error

The data end part way: the file is damaged.</translation>
    </message>
    <message>
        <source>ファイル読み込みエラー

チャンネルのデータ数か記録間隔が読めません。ファイルが壊れています。</source>
        <translation>File read error

A channel&apos;s sample count or interval cannot be read: the file is damaged.</translation>
    </message>
    <message>
        <source>記録保管庫エラー

</source>
        <translation>Archive error

</translation>
    </message>
    <message>
        <source>記録保管庫エラー

記録保管庫が壊れています。壊れたものは別の名前で残し、新しい記録保管庫を始めてもよろしいですか？</source>
        <translation>Archive error

The recordings archive is damaged. Keep the damaged one under another name and start a new archive?</translation>
    </message>
    <message>
        <source>フォルダ移動エラー

以前のフォルダの中身を新しいフォルダへ移せませんでした。以前のフォルダは残してあります。</source>
        <translation>Folder move error

The contents of the earlier folders could not be moved to the new folders. The earlier folders have been kept.</translation>
    </message>
    <message>
        <source>記録の変更を検出

</source>
        <translation>Recording changed

</translation>
    </message>
</context>
<context>
    <name>Printing</name>
    <message>
        <source>＜測定データ リスト＞</source>
        <translation>&lt; Measured data list &gt;</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名:</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>日  時</source>
        <translation>Date/time</translation>
    </message>
    <message>
        <source>現在、%1/%2 ﾍﾟｰｼﾞ目を印刷中です。</source>
        <translation>Printing page %1 of %2.</translation>
    </message>
    <message>
        <source>印刷結果を名前を付けて保存</source>
        <translation>Save Print Output As</translation>
    </message>
    <message>
        <source>PDF ファイル (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>%1 は既に存在します。
上書きしますか?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
    <message>
        <source>印刷ジョブを開始できませんでした。</source>
        <translation>The print job could not be started.</translation>
    </message>
    <message>
        <source>元ﾌｧｲﾙ (SHA-256): %1</source>
        <translation>Source files (SHA-256): %1</translation>
    </message>
</context>
<context>
    <name>Recorder</name>
    <message>
        <source>不明</source>
        <translation>Unknown</translation>
    </message>
    <message>
        <source>即時ｽﾀｰﾄ</source>
        <translation>Immediate</translation>
    </message>
    <message>
        <source>予約ｽﾀｰﾄ</source>
        <translation>Scheduled</translation>
    </message>
    <message>
        <source>ﾏﾆｭｱﾙｽﾀｰﾄ</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>ｴﾝﾄﾞﾚｽ</source>
        <translation>Endless</translation>
    </message>
    <message>
        <source>ﾜﾝﾀｲﾑ</source>
        <translation>One time</translation>
    </message>
</context>
<context>
    <name>ReportPdf</name>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>High</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Ch.</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>単位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>間隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>ｻﾝﾌﾟﾙ</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>欠測</source>
        <translation>Missing</translation>
    </message>
    <message>
        <source>Over</source>
        <translation>Over</translation>
    </message>
    <message>
        <source>Under</source>
        <translation>Under</translation>
    </message>
    <message>
        <source>最高</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>最高の時刻</source>
        <translation>Time of max.</translation>
    </message>
    <message>
        <source>最低</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>最低の時刻</source>
        <translation>Time of min.</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Avg</translation>
    </message>
    <message>
        <source>MKT</source>
        <translation>MKT</translation>
    </message>
    <message>
        <source>上限超過</source>
        <translation>Above high</translation>
    </message>
    <message>
        <source>下限未満</source>
        <translation>Below low</translation>
    </message>
    <message>
        <source>チャンネル毎の集計</source>
        <translation>Figures per channel</translation>
    </message>
    <message>
        <source>MKT: 平均動態温度 (活性化ｴﾈﾙｷﾞｰ %1 kJ/mol, R = 8.314462618 J/(mol·K))</source>
        <translation>MKT: mean kinetic temperature (activation energy %1 kJ/mol, R = 8.314462618 J/(mol·K))</translation>
    </message>
    <message>
        <source>最高・最低・平均・MKT は Over/Under と欠測を除く値から、上限超過・下限未満は Over/Under を含めて求めています。</source>
        <translation>Max., min., avg. and MKT are taken over the values without Over/Under and missing samples; the time above high and below low counts Over/Under.</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>End</translation>
    </message>
    <message>
        <source>継続時間</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>逸脱一覧</source>
        <translation>Excursions</translation>
    </message>
    <message>
        <source>上限・下限が指定されていません。</source>
        <translation>No limits were given.</translation>
    </message>
    <message>
        <source>逸脱なし</source>
        <translation>no excursion</translation>
    </message>
    <message>
        <source>測定データ レポート</source>
        <translation>Measurement report</translation>
    </message>
    <message>
        <source>＜測定データ レポート＞</source>
        <translation>&lt;Measurement report&gt;</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名: %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>下限: %1    上限: %2    活性化ｴﾈﾙｷﾞｰ: %3 kJ/mol</source>
        <translation>Low: %1    High: %2    Activation energy: %3 kJ/mol</translation>
    </message>
    <message>
        <source>不明 (%1)</source>
        <translation>unknown (%1)</translation>
    </message>
    <message>
        <source>期間: %1 ～ %2 (最初と最後のｻﾝﾌﾟﾙ)</source>
        <translation>Period: %1 to %2 (first and last sample)</translation>
    </message>
    <message>
        <source>期間: ｻﾝﾌﾟﾙなし</source>
        <translation>Period: no samples</translation>
    </message>
    <message>
        <source>指定範囲: %1 ～ %2</source>
        <translation>Chosen window: %1 to %2</translation>
    </message>
    <message>
        <source>時刻はすべて現地時間 (%1) です。</source>
        <translation>All times are local time (%1).</translation>
    </message>
    <message>
        <source>Ch.%1 %2 の限度: 下限 %3    上限 %4</source>
        <translation>Ch.%1 %2 limits: low %3    high %4</translation>
    </message>
    <message>
        <source>記録の出所</source>
        <translation>Where the records come from</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ</source>
        <translation>File</translation>
    </message>
    <message>
        <source>SHA-256</source>
        <translation>SHA-256</translation>
    </message>
    <message>
        <source>ｱｰｶｲﾌﾞID</source>
        <translation>Archive ID</translation>
    </message>
    <message>
        <source>読めません</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>ｱｰｶｲﾌﾞのﾁｪｰﾝﾍｯﾄﾞ: %1</source>
        <translation>Archive chain head: %1</translation>
    </message>
    <message>
        <source>記録計: %1</source>
        <translation>Recorder: %1</translation>
    </message>
    <message>
        <source>作成: %1    ﾌﾟﾛｸﾞﾗﾑ: Saroko %2</source>
        <translation>Made: %1    Program: Saroko %2</translation>
    </message>
    <message>
        <source>確認者 氏名</source>
        <translation>Reviewer name</translation>
    </message>
    <message>
        <source>日付</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>署名</source>
        <translation>Signature</translation>
    </message>
    <message>
        <source>▲ Over (測定範囲の上を超えたｻﾝﾌﾟﾙ) はｸﾞﾗﾌの上端に、▼ Under (下を超えたｻﾝﾌﾟﾙ) は下端に示しています。目盛りは測定値と上限・下限に合わせています。</source>
        <translation>▲ Over (samples above the measuring range) is shown at the graph&apos;s top edge, ▼ Under (below it) at the bottom edge. The scale fits the measured values and the limits.</translation>
    </message>
    <message>
        <source>%1 件 (最初 %2, 最後 %3)</source>
        <translation>%1 samples (first %2, last %3)</translation>
    </message>
    <message>
        <source>欠測はありません。</source>
        <translation>No samples are missing.</translation>
    </message>
    <message>
        <source>検証: 済</source>
        <translation>verified: yes</translation>
    </message>
    <message>
        <source>検証: 未</source>
        <translation>verified: no</translation>
    </message>
    <message>
        <source>作成者: %1 (ﾎｽﾄ %2)    作成: %3</source>
        <translation>Made by: %1 (host %2)    Made: %3</translation>
    </message>
    <message>
        <source>作成時の検証</source>
        <translation>Verified when made</translation>
    </message>
    <message>
        <source>済 (読み直して一致)</source>
        <translation>yes (read again, same)</translation>
    </message>
    <message>
        <source>未 (読み直して不一致)</source>
        <translation>no (read again, differs)</translation>
    </message>
    <message>
        <source>未 (ｱｰｶｲﾌﾞと不一致)</source>
        <translation>no (differs from the archive)</translation>
    </message>
    <message>
        <source>※ ｱｰｶｲﾌﾞの記録とﾊﾞｲﾄが異なります: ﾌｧｲﾙ %1 / ｱｰｶｲﾌﾞ %2</source>
        <translation>* The bytes differ from the archived recording: file %1 / archive %2</translation>
    </message>
    <message>
        <source>作成者: %1    ﾎｽﾄ: %2</source>
        <translation>Made by: %1    Host: %2</translation>
    </message>
    <message>
        <source>ｺﾒﾝﾄ: %1  (%2@%3  %4)</source>
        <translation>Comment: %1  (%2@%3  %4)</translation>
    </message>
</context>
<context>
    <name>SerialPorts</name>
    <message>
        <source>ﾃﾞﾊﾞｲｽ %1 がありません。USB ｼﾘｱﾙ変換器ならつなぎ直してください。</source>
        <translation>There is no device %1. If it is a USB serial adapter, plug it in again.</translation>
    </message>
    <message>
        <source>このﾕｰｻﾞｰには開けないﾃﾞﾊﾞｲｽです。ｸﾞﾙｰﾌﾟ &quot;%1&quot; に加えてください:
sudo usermod -aG %1 %2
加えたあと、ﾛｸﾞｲﾝし直すと有効になります。</source>
        <translation>This user may not open the device. Join the group &quot;%1&quot;:
sudo usermod -aG %1 %2
The membership takes effect at the next login.</translation>
    </message>
    <message>
        <source>ｸﾞﾙｰﾌﾟ &quot;%1&quot; には加えられていますが、このﾛｸﾞｲﾝではまだ有効ではありません。ﾛｸﾞｲﾝし直してください。</source>
        <translation>You are in the group &quot;%1&quot;, but not yet in this login: log out and in again.</translation>
    </message>
    <message>
        <source>このﾕｰｻﾞｰには開けないﾃﾞﾊﾞｲｽです。許可を確かめてください: ls -l %1</source>
        <translation>This user may not open the device. Check its permissions: ls -l %1</translation>
    </message>
    <message>
        <source>ほかのﾌﾟﾛｸﾞﾗﾑが使用中です: %1
そのﾌﾟﾛｸﾞﾗﾑを終了してから通信してください。</source>
        <translation>Another program holds the device: %1
Close that program before talking to the recorder.</translation>
    </message>
    <message>
        <source>brltty (点字ﾃﾞｨｽﾌﾟﾚｲ用) が USB ｼﾘｱﾙ変換器を奪うことがあります。使わないなら削除してください: sudo apt remove brltty</source>
        <translation>brltty (for braille displays) may claim USB serial adapters. If you use no braille display, remove it: sudo apt remove brltty</translation>
    </message>
    <message>
        <source>ModemManager が新しいｼﾘｱﾙﾃﾞﾊﾞｲｽを調べに開くことがあります。止めるには: sudo systemctl stop ModemManager</source>
        <translation>ModemManager may open new serial devices to probe them. To stop it: sudo systemctl stop ModemManager</translation>
    </message>
    <message>
        <source>%1 はほかのﾌﾟﾛｸﾞﾗﾑが開いています。通信ｿﾌﾄや別の Saroko を終了してから通信してください。</source>
        <translation>%1 is open in another program. Close the terminal program or the other Saroko, then try again.</translation>
    </message>
    <message>
        <source>%1 というﾎﾟｰﾄはありません。USB ｼﾘｱﾙ変換器ならつなぎ直し、ﾃﾞﾊﾞｲｽ ﾏﾈｰｼﾞｬｰの「ﾎﾟｰﾄ (COM と LPT)」で番号を確かめてください。</source>
        <translation>There is no port %1. If it is a USB serial adapter, plug it in again and look up its number in Device Manager under “Ports (COM &amp; LPT)”.</translation>
    </message>
    <message>
        <source>USB ｼﾘｱﾙ変換器のﾄﾞﾗｲﾊﾞｰが入っていません。変換器のﾒｰｶｰのﾄﾞﾗｲﾊﾞｰを入れてから、つなぎ直してください。</source>
        <translation>The USB serial adapter&apos;s driver is not installed. Install the driver from the adapter&apos;s maker, then plug the adapter in again.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>記録保管庫の設定はすでにそうなっています。</source>
        <translation>The archive setting already has that value.</translation>
    </message>
    <message>
        <source>設定を切るには理由が必要です。</source>
        <translation>Turning the setting off needs a reason.</translation>
    </message>
</context>
<context>
    <name>SignaturePage</name>
    <message>
        <source>確認 (reviewed)</source>
        <translation>Reviewed</translation>
    </message>
    <message>
        <source>承認 (approved)</source>
        <translation>Approved</translation>
    </message>
    <message>
        <source>＜電子署名＞ %1 / %2</source>
        <translation>&lt;Electronic signature&gt; %1 / %2</translation>
    </message>
    <message>
        <source>ﾚﾎﾟｰﾄ: %1    先頭 %2 ﾊﾞｲﾄ    SHA-256: %3</source>
        <translation>Report: %1    first %2 bytes    SHA-256: %3</translation>
    </message>
    <message>
        <source>意味: %1</source>
        <translation>Meaning: %1</translation>
    </message>
    <message>
        <source>署名者: %1</source>
        <translation>Signed by: %1</translation>
    </message>
    <message>
        <source>時刻: %1</source>
        <translation>Time: %1</translation>
    </message>
    <message>
        <source>鍵の指紋 (公開鍵 DER の SHA-256): %1</source>
        <translation>Key fingerprint (SHA-256 of the public key DER): %1</translation>
    </message>
    <message>
        <source>署名した文 (UTF-8、各行の末尾に LF):</source>
        <translation>Statement signed (UTF-8, each line ending in LF):</translation>
    </message>
    <message>
        <source>署名 (Ed25519、16進):</source>
        <translation>Signature (Ed25519, hex):</translation>
    </message>
    <message>
        <source>確かめ方: saroko-cli verify-signature、または openssl と sha256sum (ﾏﾆｭｱﾙ「署名」)</source>
        <translation>To check: saroko-cli verify-signature, or openssl and sha256sum (the manual&apos;s &quot;Signatures&quot;)</translation>
    </message>
</context>
<context>
    <name>Signatures</name>
    <message>
        <source>署名の意味を 1～100 ﾊﾞｲﾄの 1 行で入力してください。</source>
        <translation>Enter the meaning of the signature as one line of 1 to 100 bytes.</translation>
    </message>
    <message>
        <source>鍵 %s は記録保管庫に登録されていません。</source>
        <translation>Key %s is not registered in the archive.</translation>
    </message>
    <message>
        <source>鍵 %s は廃止されています。廃止された鍵では署名できません。</source>
        <translation>Key %s is retired. A retired key signs nothing.</translation>
    </message>
    <message>
        <source>氏名が鍵の登録名 (%s) と一致しません。</source>
        <translation>The name does not match the name the key is registered under (%s).</translation>
    </message>
    <message>
        <source>ﾊﾟｽﾌﾚｰｽﾞが違います。</source>
        <translation>The passphrase is wrong.</translation>
    </message>
    <message>
        <source>鍵ﾌｧｲﾙ %s.pem が登録された鍵と一致しません (変更されています)。</source>
        <translation>The key file %s.pem does not match the registered key (it was changed).</translation>
    </message>
    <message>
        <source>署名文が読めません (書式が違います)。</source>
        <translation>The statement cannot be read (not in its form).</translation>
    </message>
    <message>
        <source>署名文の鍵と署名の鍵が違います。</source>
        <translation>The statement names another key than the signature.</translation>
    </message>
    <message>
        <source>署名が署名文と一致しません (署名文か署名が変更されています)。</source>
        <translation>The signature does not match the statement (the statement or the signature was changed).</translation>
    </message>
    <message>
        <source>この署名は記録保管庫にありません。</source>
        <translation>The archive does not hold this signature.</translation>
    </message>
    <message>
        <source>鍵 %s は署名の前に廃止されていました。</source>
        <translation>Key %s was retired before it signed.</translation>
    </message>
    <message>
        <source>この署名は別のﾚﾎﾟｰﾄ (SHA-256 %s) のものです。</source>
        <translation>This signature belongs to another report (SHA-256 %s).</translation>
    </message>
    <message>
        <source>ﾚﾎﾟｰﾄが署名の後に変更されています (署名時 %s、現在 %s)。</source>
        <translation>The report was changed after it was signed (signed %s, now %s).</translation>
    </message>
    <message>
        <source>署名時のﾁｪｰﾝﾍｯﾄﾞが記録保管庫にありません (ｲﾍﾞﾝﾄが失われています)。</source>
        <translation>The chain head signed is no longer in the archive (events were lost).</translation>
    </message>
    <message>
        <source>記録 %s は記録保管庫の記録と違います。</source>
        <translation>Recording %s is not the archived recording.</translation>
    </message>
    <message>
        <source>記録 %s のﾌｧｲﾙ %s がありません。</source>
        <translation>The file of recording %s, %s, is missing.</translation>
    </message>
    <message>
        <source>記録 %s のﾌｧｲﾙ %s が署名の後に変更されています。</source>
        <translation>The file of recording %s, %s, was changed after the report was signed.</translation>
    </message>
    <message>
        <source>記録保管庫を読めません。</source>
        <translation>The archive cannot be read.</translation>
    </message>
    <message>
        <source>名前を 1～100 ﾊﾞｲﾄの 1 行で入力してください。</source>
        <translation>Enter the name as one line of 1 to 100 bytes.</translation>
    </message>
    <message>
        <source>ﾊﾟｽﾌﾚｰｽﾞは 8 文字以上にしてください。</source>
        <translation>The passphrase must have 8 characters or more.</translation>
    </message>
    <message>
        <source>鍵は記録保管庫に登録します。記録保管庫なしでは作れません。</source>
        <translation>A key is registered in the archive; without the archive none can be made.</translation>
    </message>
    <message>
        <source>鍵を作れませんでした。</source>
        <translation>The key could not be made.</translation>
    </message>
    <message>
        <source>鍵ﾌｧｲﾙを保存できません: </source>
        <translation>The key file cannot be saved: </translation>
    </message>
    <message>
        <source>その指紋の鍵は登録されていません。</source>
        <translation>No key with that fingerprint is registered.</translation>
    </message>
    <message>
        <source>その鍵はすでに廃止されています。</source>
        <translation>That key is retired already.</translation>
    </message>
    <message>
        <source>ﾚﾎﾟｰﾄを読めません: </source>
        <translation>The report cannot be read: </translation>
    </message>
    <message>
        <source>このﾚﾎﾟｰﾄは記録保管庫にありません (このﾌﾟﾛｸﾞﾗﾑが作った、変更されていないﾚﾎﾟｰﾄだけに署名できます)。</source>
        <translation>The archive does not know this report (only an unchanged report this program made can be signed).</translation>
    </message>
    <message>
        <source>この名前で登録された鍵がこのﾕｰｻﾞｰの鍵ﾌｫﾙﾀﾞにありません。</source>
        <translation>None of your keys is registered under this name.</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙを読めません。</source>
        <translation>The file cannot be read.</translation>
    </message>
    <message>
        <source>署名がありません。</source>
        <translation>It has no signature.</translation>
    </message>
</context>
<context>
    <name>Signing</name>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>Units</name>
    <message>
        <source>保管場所の名前を入力してください。</source>
        <translation>Enter the storage unit&apos;s name.</translation>
    </message>
    <message>
        <source>同じ名前の保管場所がすでにあります。</source>
        <translation>A storage unit of that name exists already.</translation>
    </message>
    <message>
        <source>その保管場所はありません。</source>
        <translation>There is no such storage unit.</translation>
    </message>
    <message>
        <source>変更はありません。</source>
        <translation>Nothing was changed.</translation>
    </message>
    <message>
        <source>下限が上限より大きくなっています。</source>
        <translation>The low limit lies above the high limit.</translation>
    </message>
    <message>
        <source>活性化エネルギーは 0 より大きい値にしてください。</source>
        <translation>The activation energy must be greater than 0.</translation>
    </message>
    <message>
        <source>チャンネルは 1 か 2 です。</source>
        <translation>The channel is 1 or 2.</translation>
    </message>
    <message>
        <source>校正の内容が正しくありません（日付は YYYY-MM-DD、有効期限は校正日以降、2 点補正は 1 点目の測定値 &lt; 2 点目の測定値）。</source>
        <translation>The calibration is not valid (days as YYYY-MM-DD, the due day not before the calibration day, for two points the first reading below the second).</translation>
    </message>
    <message>
        <source>このファイルは記録保管庫にありません。</source>
        <translation>This file is not in the archive.</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Enter a number.</translation>
    </message>
    <message>
        <source>記録保管庫が使えないため保管場所を変更できません。</source>
        <translation>The archive cannot be used, so storage units cannot be changed.</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>保管場所: %s</source>
        <translation>Storage unit: %s</translation>
    </message>
    <message>
        <source>（%s）</source>
        <translation> (%s)</translation>
    </message>
    <message>
        <source>  記録計: %s</source>
        <translation>  Recorder: %s</translation>
    </message>
    <message>
        <source>  Ch.%s: 記録の時点の校正の記録なし</source>
        <translation>  Ch.%s: no calibration recorded at the recording&apos;s time</translation>
    </message>
    <message>
        <source>  Ch.%s: 校正証明書 %s  校正日 %s  有効期限 %s</source>
        <translation>  Ch.%s: certificate %s  calibrated %s  due %s</translation>
    </message>
    <message>
        <source>    補正: %s（適用済み）</source>
        <translation>    Correction: %s (applied)</translation>
    </message>
    <message>
        <source>    補正: %s（適用せず、生の値）</source>
        <translation>    Correction: %s (not applied, raw values)</translation>
    </message>
    <message>
        <source>  校正範囲外の値 %s 個</source>
        <translation>  %s values outside the calibrated range</translation>
    </message>
    <message>
        <source>注意: %s の校正は記録の時点で有効期限を過ぎていました。</source>
        <translation>Caution: the calibration of %s was past its due day at the recording&apos;s time.</translation>
    </message>
</context>
<context>
    <name>saroko::CMainFrame</name>
    <message>
        <source>バージョン情報</source>
        <translation>About Saroko</translation>
    </message>
    <message>
        <source>レポートを書き込みました: %1</source>
        <translation>Report written: %1</translation>
    </message>
    <message>
        <source>印刷を書き込みました: %1</source>
        <translation>Print written: %1</translation>
    </message>
    <message>
        <source>ﾃｷｽﾄを書き込みました: %1</source>
        <translation>Text written: %1</translation>
    </message>
    <message>
        <source>署名しました。署名付きの写し: %1</source>
        <translation>Signed. Signed copy: %1</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CArchiveLocationDlg</name>
    <message>
        <source>記録保管庫の場所</source>
        <translation>Archive location</translation>
    </message>
    <message>
        <source>サーバー上の記録保管庫（PostgreSQL）の接続文字列:</source>
        <translation>Connection string of a site archive on a server (PostgreSQL):</translation>
    </message>
    <message>
        <source>空欄にすると、このコンピューターの記録保管庫を使います。パスワードはここに書かず、~/.pgpass などに置いてください。</source>
        <translation>Left empty, this computer&apos;s own archive is used. Do not write the password here: put it in ~/.pgpass or the like.</translation>
    </message>
    <message>
        <source>接続を確認(&amp;T)</source>
        <translation>&amp;Test connection</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>パスワードは接続文字列に書けません。~/.pgpass などに置いてください。</source>
        <translation>A password cannot be written into the connection string. Put it in ~/.pgpass or the like.</translation>
    </message>
    <message>
        <source>接続文字列ではありません。このコンピューターの記録保管庫を使います。</source>
        <translation>This is not a connection string. This computer&apos;s own archive is used.</translation>
    </message>
    <message>
        <source>接続できました。</source>
        <translation>Connected.</translation>
    </message>
    <message>
        <source>接続できません。</source>
        <translation>Cannot connect.</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CAuditTrailDlg</name>
    <message>
        <source>監査証跡の出力</source>
        <translation>Audit trail</translation>
    </message>
    <message>
        <source>PDF ﾌｧｲﾙ (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>CSV ﾌｧｲﾙ (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>監査証跡を書き込めませんでした。</source>
        <translation>The audit trail could not be written.</translation>
    </message>
    <message>
        <source>記録保管庫全体(&amp;W)</source>
        <translation>The &amp;whole archive</translation>
    </message>
    <message>
        <source>保管場所(&amp;U):</source>
        <translation>Storage &amp;unit:</translation>
    </message>
    <message>
        <source>開始(&amp;S):</source>
        <translation>&amp;From:</translation>
    </message>
    <message>
        <source>終了(&amp;E):</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>PDF 出力(&amp;P)...</source>
        <translation>Write &amp;PDF...</translation>
    </message>
    <message>
        <source>CSV 出力(&amp;C)...</source>
        <translation>Write &amp;CSV...</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>終了は開始より後の日時にしてください。</source>
        <translation>To must lie after From.</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CCalcRangeDlg</name>
    <message>
        <source>計算範囲の設定</source>
        <translation>Calculation range</translation>
    </message>
    <message>
        <source>現在の計算範囲</source>
        <translation>Current calculation range</translation>
    </message>
    <message>
        <source>新たに設定する計算範囲</source>
        <translation>New calculation range</translation>
    </message>
    <message>
        <source>から</source>
        <translation>from</translation>
    </message>
    <message>
        <source>まで</source>
        <translation>to</translation>
    </message>
    <message>
        <source>最初はＡＢカーソルの日時が表示されます。</source>
        <translation>The fields start with the times of cursors A and B.</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾌ全体</source>
        <translation>Whole graph</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CChannelColorDlg</name>
    <message>
        <source>Cｈ．カラー変更</source>
        <translation>Channel colours</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾌ表示</source>
        <translation>Graph</translation>
    </message>
    <message>
        <source>ｶﾗｰ変更</source>
        <translation>Change colour</translation>
    </message>
    <message>
        <source>選択Ch.   </source>
        <translation>Selected Ch.   </translation>
    </message>
    <message>
        <source>初期値</source>
        <translation>Defaults</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CChannelDialog</name>
    <message>
        <source>１２３４５６７８</source>
        <translation>12345678</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CChannelFlagDlg</name>
    <message>
        <source>指定Cｈ．表示 ＯＮ／ＯＦＦ</source>
        <translation>Channel display on/off</translation>
    </message>
    <message>
        <source>指定Ｃｈ．データ削除</source>
        <translation>Delete channel data</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CChannelOrderDlg</name>
    <message>
        <source>Cｈ．データの並び替え</source>
        <translation>Reorder channels</translation>
    </message>
    <message>
        <source>並び替え</source>
        <translation>Reorder</translation>
    </message>
    <message>
        <source>並替</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CCommandTestDlg</name>
    <message>
        <source>コマンドテスト</source>
        <translation>Command test</translation>
    </message>
    <message>
        <source>送信ｺﾏﾝﾄﾞﾌﾚｰﾑ</source>
        <translation>Command frame sent</translation>
    </message>
    <message>
        <source>受信ｺﾏﾝﾄﾞﾌﾚｰﾑ</source>
        <translation>Command frame received</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CDataListDlg</name>
    <message>
        <source>計算範囲</source>
        <translation>Calculation range</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Date/time</translation>
    </message>
    <message>
        <source>データ一覧表示</source>
        <translation>Data list</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CDownloadDlg</name>
    <message>
        <source>記録データ吸い上げ</source>
        <translation>Download recording</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ表示Ch.</source>
        <translation>Display channel</translation>
    </message>
    <message>
        <source>ｹﾙﾌﾞﾗ Ch.1 :</source>
        <translation>Recorder Ch.1:</translation>
    </message>
    <message>
        <source>ｹﾙﾌﾞﾗ Ch.2 :</source>
        <translation>Recorder Ch.2:</translation>
    </message>
    <message>
        <source>吸い上げ</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>吸い上げ状況</source>
        <translation>Download status</translation>
    </message>
    <message>
        <source>機種 : </source>
        <translation>Model: </translation>
    </message>
    <message>
        <source>ｹﾙﾌﾞﾗ Ch.1 : </source>
        <translation>Recorder Ch.1: </translation>
    </message>
    <message>
        <source>ｹﾙﾌﾞﾗ Ch.2 : </source>
        <translation>Recorder Ch.2: </translation>
    </message>
    <message>
        <source>開始日時 : </source>
        <translation>Start: </translation>
    </message>
    <message>
        <source>開始方法 :</source>
        <translation>Start method:</translation>
    </message>
    <message>
        <source>記録ﾓｰﾄﾞ : </source>
        <translation>Recording mode: </translation>
    </message>
    <message>
        <source>ｾﾝｻ種類 : </source>
        <translation>Sensor: </translation>
    </message>
    <message>
        <source>記録間隔 : </source>
        <translation>Interval: </translation>
    </message>
    <message>
        <source>控え: %1</source>
        <translation>Kept as: %1</translation>
    </message>
    <message>
        <source>吸い上げたデータの控え: %1</source>
        <translation>The download was kept as %1</translation>
    </message>
    <message>
        <source>保管場所(&amp;U) :</source>
        <translation>Storage &amp;unit:</translation>
    </message>
    <message>
        <source>(なし)</source>
        <translation>(none)</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CExcursionCommentsDlg</name>
    <message>
        <source>逸脱へのｺﾒﾝﾄ</source>
        <translation>Comments on excursions</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Ch.</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>End</translation>
    </message>
    <message>
        <source>これまでのｺﾒﾝﾄ</source>
        <translation>Earlier comments</translation>
    </message>
    <message>
        <source>新しいｺﾒﾝﾄ</source>
        <translation>New comment</translation>
    </message>
    <message>
        <source>上限超過</source>
        <translation>Above high</translation>
    </message>
    <message>
        <source>下限未満</source>
        <translation>Below low</translation>
    </message>
    <message>
        <source>(ｱｰｶｲﾌﾞにない記録)</source>
        <translation>(recording not in the archive)</translation>
    </message>
    <message>
        <source>逸脱ごとに、行ったこと (製品を移した、扉を閉めた など) を書けます。ｺﾒﾝﾄはｱｰｶｲﾌﾞに記録され、消せません。</source>
        <translation>For each excursion, write what was done (the product moved, the door closed). Comments are kept in the archive and cannot be removed.</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ｺﾒﾝﾄをまだｱｰｶｲﾌﾞに書き込めていません。このﾚﾎﾟｰﾄには載りません。</source>
        <translation>The comments could not be written to the archive yet. This report does not list them.</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CFullScaleDlg</name>
    <message>
        <source>縦軸フルスケール設定</source>
        <translation>Vertical full scale</translation>
    </message>
    <message>
        <source>オート</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>マニュアル</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>上限値 : </source>
        <translation>Upper limit: </translation>
    </message>
    <message>
        <source>下限値 : </source>
        <translation>Lower limit: </translation>
    </message>
    <message>
        <source>初期値</source>
        <translation>Defaults</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CGraphPrintDlg</name>
    <message>
        <source>グラフ印刷</source>
        <translation>Print graph</translation>
    </message>
    <message>
        <source>印刷方法</source>
        <translation>Scaling</translation>
    </message>
    <message>
        <source>用紙に適したｻｲｽﾞに伸縮</source>
        <translation>Fit to the paper</translation>
    </message>
    <message>
        <source>用紙いっぱいに伸縮</source>
        <translation>Fill the paper</translation>
    </message>
    <message>
        <source>任意のｽｹｰﾙを指定</source>
        <translation>Custom scale</translation>
    </message>
    <message>
        <source>横ｽｹｰﾙ :</source>
        <translation>Horizontal:</translation>
    </message>
    <message>
        <source>縦ｽｹｰﾙ : </source>
        <translation>Vertical: </translation>
    </message>
    <message>
        <source>グラフの印刷を行います。</source>
        <translation>Prints the graph.</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CHelpWindow</name>
    <message>
        <source>Saroko ﾍﾙﾌﾟ</source>
        <translation>Saroko Help</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>進む</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CListPrintDlg</name>
    <message>
        <source>データ一覧印刷</source>
        <translation>Print data list</translation>
    </message>
    <message>
        <source>ﾍﾟｰｼﾞ数</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>ｸﾞﾗﾌ表示範囲のﾃﾞｰﾀ一覧を印刷します。</source>
        <translation>Prints the data list of the displayed range.</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CPortSelectDlg</name>
    <message>
        <source>ＣＯＭ%1</source>
        <translation>COM%1</translation>
    </message>
    <message>
        <source>１２３４５６７８９</source>
        <translation>123456789</translation>
    </message>
    <message>
        <source>シリアルポートの選択</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>ｼﾘｱﾙﾎﾟｰﾄ</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>接続先ﾃﾞﾊﾞｲｽ</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>標準に戻す</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CPrintDialogBase</name>
    <message>
        <source>印刷ﾃﾞｰﾀ</source>
        <translation>Print data</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ﾌﾟﾘﾝﾀの設定</source>
        <translation>Printer setup</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CPrintProgressDlg</name>
    <message>
        <source>印刷中</source>
        <translation>Printing</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CReadConfirmDlg</name>
    <message>
        <source>読込確認</source>
        <translation>Confirm loading</translation>
    </message>
    <message>
        <source>読み込むファイルのデータだけを見たい時は、［新規］ボタンをクリックしてください。</source>
        <translation>To see only the data of the file being opened, click [New].</translation>
    </message>
    <message>
        <source>グラフ表示をしているデータと、読み込むファイルのデータを同じグラフの中で見たい時は、［追加］ボタンをクリックしてください。</source>
        <translation>To see the data shown now and the data of the file being opened in one graph, click [Add].</translation>
    </message>
    <message>
        <source>新規</source>
        <translation>New</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CRecCondDlg</name>
    <message>
        <source>記録条件の編集 ／ データ削除</source>
        <translation>Recording conditions / Delete data</translation>
    </message>
    <message>
        <source>記録条件の編集</source>
        <translation>Recording conditions</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>開始日時</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>編集項目</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>選択Ch.</source>
        <translation>Selected Ch.</translation>
    </message>
    <message>
        <source>名前 :</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>開始日時 :</source>
        <translation>Start:</translation>
    </message>
    <message>
        <source>選択Ch. </source>
        <translation>Selected Ch. </translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CRecordStartDlg</name>
    <message>
        <source>記録スタート</source>
        <translation>Start recording</translation>
    </message>
    <message>
        <source>ﾁｬﾝﾈﾙ名</source>
        <translation>Channel names</translation>
    </message>
    <message>
        <source>記録間隔</source>
        <translation>Interval</translation>
    </message>
    <message>
        <source>記録開始日時</source>
        <translation>Recording start</translation>
    </message>
    <message>
        <source>予約ｽﾀｰﾄ</source>
        <translation>Scheduled</translation>
    </message>
    <message>
        <source>即時ｽﾀｰﾄ</source>
        <translation>Immediate</translation>
    </message>
    <message>
        <source>年</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>月</source>
        <translation>M</translation>
    </message>
    <message>
        <source>日</source>
        <translation>D</translation>
    </message>
    <message>
        <source>時</source>
        <translation>h</translation>
    </message>
    <message>
        <source>分</source>
        <translation>m</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>s</translation>
    </message>
    <message>
        <source>記録モード</source>
        <translation>Recording mode</translation>
    </message>
    <message>
        <source>ワンタイム</source>
        <translation>One time</translation>
    </message>
    <message>
        <source>エンドレス</source>
        <translation>Endless</translation>
    </message>
    <message>
        <source>本体温度単位</source>
        <translation>Recorder unit</translation>
    </message>
    <message>
        <source>摂氏（ﾟC）</source>
        <translation>Celsius (°C)</translation>
    </message>
    <message>
        <source>華氏（ﾟF）</source>
        <translation>Fahrenheit (°F)</translation>
    </message>
    <message>
        <source>センサ種類</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>Ｐｔ１００</source>
        <translation>Pt100</translation>
    </message>
    <message>
        <source>ＪＰｔ１００</source>
        <translation>JPt100</translation>
    </message>
    <message>
        <source>現在日時</source>
        <translation>Now</translation>
    </message>
    <message>
        <source>予定終了日時</source>
        <translation>Expected end</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>設定値受信</source>
        <translation>Read settings</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CRecordingHistoryDlg</name>
    <message>
        <source>作成</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Opened</translation>
    </message>
    <message>
        <source>変更</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>ﾃｷｽﾄ出力</source>
        <translation>Exported as text</translation>
    </message>
    <message>
        <source>ﾚﾎﾟｰﾄ出力</source>
        <translation>Reported</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Printed</translation>
    </message>
    <message>
        <source>履歴: %1</source>
        <translation>History: %1</translation>
    </message>
    <message>
        <source>番号</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>日時</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>変更前</source>
        <translation>Old value</translation>
    </message>
    <message>
        <source>変更後</source>
        <translation>New value</translation>
    </message>
    <message>
        <source>理由</source>
        <translation>Reason</translation>
    </message>
    <message>
        <source>ユーザー</source>
        <translation>User</translation>
    </message>
    <message>
        <source>吸い上げ</source>
        <translation>downloaded</translation>
    </message>
    <message>
        <source>取り込み</source>
        <translation>imported</translation>
    </message>
    <message>
        <source>チャンネル名</source>
        <translation>channel name</translation>
    </message>
    <message>
        <source>記録開始時刻</source>
        <translation>recording start</translation>
    </message>
    <message>
        <source>単位</source>
        <translation>unit</translation>
    </message>
    <message>
        <source>縦軸フルスケール</source>
        <translation>vertical full scale</translation>
    </message>
    <message>
        <source>チャンネル削除</source>
        <translation>channel deleted</translation>
    </message>
    <message>
        <source>チャンネル番号</source>
        <translation>channel number</translation>
    </message>
    <message>
        <source>内容が保管時と違う</source>
        <translation>contents differ from the archived ones</translation>
    </message>
    <message>
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>ｺﾒﾝﾄ</source>
        <translation>Commented</translation>
    </message>
    <message>
        <source>PDF 出力(&amp;P)...</source>
        <translation>&amp;PDF...</translation>
    </message>
    <message>
        <source>CSV 出力(&amp;C)...</source>
        <translation>&amp;CSV...</translation>
    </message>
    <message>
        <source>保管場所</source>
        <translation>Storage unit</translation>
    </message>
    <message>
        <source>保管場所の割り当て</source>
        <translation>Assigned to a storage unit</translation>
    </message>
    <message>
        <source>校正</source>
        <translation>Calibration</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>registered</translation>
    </message>
    <message>
        <source>廃止</source>
        <translation>retired</translation>
    </message>
    <message>
        <source>変更には理由が必要</source>
        <translation>a reason is required for every change</translation>
    </message>
    <message>
        <source>署名鍵</source>
        <translation>Signing keys</translation>
    </message>
    <message>
        <source>電子署名</source>
        <translation>Signed</translation>
    </message>
    <message>
        <source>保管庫の設定</source>
        <translation>Archive setting</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CRecordingsDlg</name>
    <message>
        <source>確認済み</source>
        <translation>Verified</translation>
    </message>
    <message>
        <source>変更あり</source>
        <translation>Changed</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙなし</source>
        <translation>Missing</translation>
    </message>
    <message>
        <source>未確認</source>
        <translation>Not checked</translation>
    </message>
    <message>
        <source>記録ﾃﾞｰﾀ一覧</source>
        <translation>Recordings</translation>
    </message>
    <message>
        <source>開始日(&amp;S):</source>
        <translation>&amp;From:</translation>
    </message>
    <message>
        <source>終了日(&amp;E):</source>
        <translation>&amp;To:</translation>
    </message>
    <message>
        <source>チャンネル名の一部</source>
        <translation>Part of a channel name</translation>
    </message>
    <message>
        <source>取り込み日時</source>
        <translation>Seen</translation>
    </message>
    <message>
        <source>記録計</source>
        <translation>Recorder</translation>
    </message>
    <message>
        <source>チャンネル名</source>
        <translation>Channel name</translation>
    </message>
    <message>
        <source>最初のデータ</source>
        <translation>First sample</translation>
    </message>
    <message>
        <source>最後のデータ</source>
        <translation>Last sample</translation>
    </message>
    <message>
        <source>データ数</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>履歴(&amp;H)...</source>
        <translation>&amp;History...</translation>
    </message>
    <message>
        <source>すべて検証(&amp;V)</source>
        <translation>&amp;Verify All</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>名前(&amp;N):</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>記録ﾌｧｲﾙを検証しています...</source>
        <translation>Verifying the recordings&apos; files...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>すべて検証</source>
        <translation>Verify All</translation>
    </message>
    <message>
        <source>検証は中止されました。</source>
        <translation>The verification was cancelled.</translation>
    </message>
    <message>
        <source>すべての記録ﾌｧｲﾙは元のままです。</source>
        <translation>Every recording&apos;s file is as it was archived.</translation>
    </message>
    <message>
        <source>履歴は %1 番で途切れています。</source>
        <translation>The history breaks at event %1.</translation>
    </message>
    <message numerus="yes">
        <source>履歴 %n 件はつながっています。</source>
        <translation>
            <numerusform>The history of %n event holds together.</numerusform>
            <numerusform>The history of %n events holds together.</numerusform>
        </translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名</source>
        <translation>File</translation>
    </message>
    <message>
        <source>取得</source>
        <translation>Source</translation>
    </message>
    <message>
        <source>最終検証</source>
        <translation>Last verified</translation>
    </message>
    <message>
        <source>吸い上げ</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ</source>
        <translation>File</translation>
    </message>
    <message numerus="yes">
        <source>ほか %n 件</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 件の記録ﾌｧｲﾙが元のままではありません: %1。</source>
        <translation>
            <numerusform>%n recording file is not as it was archived: %1.</numerusform>
            <numerusform>%n recording files are not as they were archived: %1.</numerusform>
        </translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>すべての保管場所</source>
        <translation>All storage units</translation>
    </message>
    <message>
        <source>保管場所(&amp;U):</source>
        <translation>Storage &amp;unit:</translation>
    </message>
    <message>
        <source>監査証跡(&amp;A)...</source>
        <translation>&amp;Audit trail...</translation>
    </message>
    <message>
        <source>送信待ち</source>
        <translation>Waiting</translation>
    </message>
    <message numerus="yes">
        <source>%n 件が送信待ちです（新しい記録ﾃﾞｰﾀ %1 件）。サーバーにつながると順に送られます。</source>
        <translation>
            <numerusform>%n event is waiting (new recordings among them: %1). It is sent once the server answers.</numerusform>
            <numerusform>%n events are waiting (new recordings among them: %1). They are sent in order once the server answers.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>saroko::ui::CReportDlg</name>
    <message>
        <source>レポート出力</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>開始:</source>
        <translation>Start:</translation>
    </message>
    <message>
        <source>終了:</source>
        <translation>End:</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>High</translation>
    </message>
    <message>
        <source>活性化ｴﾈﾙｷﾞｰ (kJ/mol):</source>
        <translation>Activation energy (kJ/mol):</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>開始時刻が正しくありません。</source>
        <translation>The start time is not valid.</translation>
    </message>
    <message>
        <source>終了時刻が正しくありません。</source>
        <translation>The end time is not valid.</translation>
    </message>
    <message>
        <source>下限に数値を入力してください。</source>
        <translation>Enter a number for the low limit.</translation>
    </message>
    <message>
        <source>上限に数値を入力してください。</source>
        <translation>Enter a number for the high limit.</translation>
    </message>
    <message>
        <source>活性化ｴﾈﾙｷﾞｰに正の数値を入力してください。</source>
        <translation>Enter a positive number for the activation energy.</translation>
    </message>
    <message>
        <source>PDF ﾌｧｲﾙ (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>レポートを書き込めませんでした。</source>
        <translation>The report could not be written.</translation>
    </message>
    <message>
        <source>Ch.</source>
        <translation>Ch.</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>ﾁｬﾝﾈﾙ毎の限度 (空欄は共通の下限・上限):</source>
        <translation>Limits per channel (an empty cell takes the common low or high):</translation>
    </message>
    <message>
        <source>Ch.%1 の下限が上限を超えています。</source>
        <translation>The low limit of Ch.%1 lies above its high limit.</translation>
    </message>
    <message>
        <source>Ch.%1 の限度に数値を入力してください。</source>
        <translation>Enter a number for the limits of Ch.%1.</translation>
    </message>
    <message>
        <source>ﾟF</source>
        <translation>°F</translation>
    </message>
    <message>
        <source>ﾟC</source>
        <translation>°C</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>しない (記録された値)</source>
        <translation>None (the recorded values)</translation>
    </message>
    <message>
        <source>校正の補正を適用</source>
        <translation>Apply the calibration's correction</translation>
    </message>
    <message>
        <source>補正(&amp;K):</source>
        <translation>&amp;Correction:</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CSignReportDlg</name>
    <message>
        <source>ﾚﾎﾟｰﾄに署名</source>
        <translation>Sign report</translation>
    </message>
    <message>
        <source>参照(&amp;B)...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>署名するﾚﾎﾟｰﾄ</source>
        <translation>Report to sign</translation>
    </message>
    <message>
        <source>PDF ﾌｧｲﾙ (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>ﾚﾎﾟｰﾄ(&amp;R):</source>
        <translation>&amp;Report:</translation>
    </message>
    <message>
        <source>確認 (reviewed)</source>
        <translation>Reviewed</translation>
    </message>
    <message>
        <source>承認 (approved)</source>
        <translation>Approved</translation>
    </message>
    <message>
        <source>署名の意味(&amp;M):</source>
        <translation>&amp;Meaning:</translation>
    </message>
    <message>
        <source>登録した氏名(&amp;N):</source>
        <translation>Registered &amp;name:</translation>
    </message>
    <message>
        <source>ﾊﾟｽﾌﾚｰｽﾞ(&amp;P):</source>
        <translation>&amp;Passphrase:</translation>
    </message>
    <message>
        <source>署名は記録保管庫に記録され、ﾚﾎﾟｰﾄの横に署名ﾍﾟｰｼﾞ付きの写し (NAME.signed.pdf) を書きます。ﾊﾟｽﾌﾚｰｽﾞは毎回入力します。</source>
        <translation>The signature is recorded in the archive, and a copy with a signature page (NAME.signed.pdf) is written beside the report. The passphrase is asked for every time.</translation>
    </message>
    <message>
        <source>署名</source>
        <translation>Sign</translation>
    </message>
    <message>
        <source>署名しましたが、署名付きの写しを書けません: %1</source>
        <translation>Signed, but the signed copy cannot be written: %1</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CSigningKeysDlg</name>
    <message>
        <source>署名鍵</source>
        <translation>Signing keys</translation>
    </message>
    <message>
        <source>記録保管庫に登録された署名鍵:</source>
        <translation>Signing keys registered in the archive:</translation>
    </message>
    <message>
        <source>指紋</source>
        <translation>Fingerprint</translation>
    </message>
    <message>
        <source>名前</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>登録者</source>
        <translation>Registered by</translation>
    </message>
    <message>
        <source>登録 (UTC)</source>
        <translation>Registered (UTC)</translation>
    </message>
    <message>
        <source>状態</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>選んだ鍵を廃止(&amp;R)</source>
        <translation>&amp;Retire selected key</translation>
    </message>
    <message>
        <source>新しい鍵 (秘密鍵はこのﾕｰｻﾞｰの設定ﾌｫﾙﾀﾞに、ﾊﾟｽﾌﾚｰｽﾞで暗号化して置きます):</source>
        <translation>New key (the private key is kept in your configuration folder, encrypted under the passphrase):</translation>
    </message>
    <message>
        <source>例: 佐藤 花子 (品質保証)</source>
        <translation>e.g. Hanako Sato, QA</translation>
    </message>
    <message>
        <source>名前(&amp;N):</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>ﾊﾟｽﾌﾚｰｽﾞ(&amp;P):</source>
        <translation>&amp;Passphrase:</translation>
    </message>
    <message>
        <source>もう一度(&amp;A):</source>
        <translation>&amp;Again:</translation>
    </message>
    <message>
        <source>鍵を作って登録(&amp;C)</source>
        <translation>&amp;Create and register key</translation>
    </message>
    <message>
        <source>記録保管庫を読めません。</source>
        <translation>The archive cannot be read.</translation>
    </message>
    <message>
        <source>廃止</source>
        <translation>Retired</translation>
    </message>
    <message>
        <source>使用中 (このﾕｰｻﾞｰの鍵)</source>
        <translation>In use (your key)</translation>
    </message>
    <message>
        <source>使用中</source>
        <translation>In use</translation>
    </message>
    <message>
        <source>2 つのﾊﾟｽﾌﾚｰｽﾞが違います。</source>
        <translation>The two passphrases differ.</translation>
    </message>
    <message>
        <source>鍵を登録しました。指紋: %1</source>
        <translation>The key is registered. Fingerprint: %1</translation>
    </message>
    <message>
        <source>廃止する鍵を選んでください。</source>
        <translation>Select the key to retire.</translation>
    </message>
    <message>
        <source>鍵を廃止しました。この鍵ではもう署名できません。</source>
        <translation>The key is retired; it signs nothing more.</translation>
    </message>
</context>
<context>
    <name>saroko::ui::CUnitsDlg</name>
    <message>
        <source>保管場所と校正</source>
        <translation>Storage units and calibration</translation>
    </message>
    <message>
        <source>新規(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>保管場所(&amp;U):</source>
        <translation>Storage &amp;units:</translation>
    </message>
    <message>
        <source>機種と製造番号など</source>
        <translation>model and serial number, for example</translation>
    </message>
    <message>
        <source>名前(&amp;A):</source>
        <translation>N&amp;ame:</translation>
    </message>
    <message>
        <source>場所(&amp;L):</source>
        <translation>&amp;Location:</translation>
    </message>
    <message>
        <source>記録計(&amp;R):</source>
        <translation>&amp;Recorder:</translation>
    </message>
    <message>
        <source>下限</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>上限</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Ch.%1 の限度:</source>
        <translation>Ch.%1 limits:</translation>
    </message>
    <message>
        <source>活性化ｴﾈﾙｷﾞｰ(&amp;E):</source>
        <translation>Activation &amp;energy:</translation>
    </message>
    <message>
        <source>メモ(&amp;M):</source>
        <translation>&amp;Note:</translation>
    </message>
    <message>
        <source>Ch.%1 の校正</source>
        <translation>Ch.%1 calibration</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>ｵﾌｾｯﾄ</source>
        <translation>Offset</translation>
    </message>
    <message>
        <source>2点 (直線)</source>
        <translation>Two points (line)</translation>
    </message>
    <message>
        <source>測定値に加える</source>
        <translation>Added to the reading</translation>
    </message>
    <message>
        <source>測定値</source>
        <translation>Reading</translation>
    </message>
    <message>
        <source>真の値</source>
        <translation>True value</translation>
    </message>
    <message>
        <source>1 点目</source>
        <translation>Point 1</translation>
    </message>
    <message>
        <source>2 点目</source>
        <translation>Point 2</translation>
    </message>
    <message>
        <source>証明書番号:</source>
        <translation>Certificate:</translation>
    </message>
    <message>
        <source>校正日:</source>
        <translation>Calibrated:</translation>
    </message>
    <message>
        <source>有効期限:</source>
        <translation>Due:</translation>
    </message>
    <message>
        <source>補正:</source>
        <translation>Correction:</translation>
    </message>
    <message>
        <source>変更の理由（記録保管庫の履歴に残ります）</source>
        <translation>the reason for the change (kept in the archive&apos;s history)</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>理由(&amp;Y):</source>
        <translation>Reason (&amp;Y):</translation>
    </message>
</context>
</TS>
