<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>ContextMenu</name>
    <message>
        <source>送る(&amp;N)</source>
        <translation>Se&amp;nd To</translation>
    </message>
</context>
<context>
    <name>Convert</name>
    <message>
        <source>日付が不正です。(%1)</source>
        <translation>Invalid date. (%1)</translation>
    </message>
    <message>
        <source>時刻が不正です。(%1)</source>
        <translation>Invalid time. (%1)</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は有効な日付と時刻ではありません。</source>
        <translation>&apos;%1&apos; is not a valid date and time.</translation>
    </message>
    <message>
        <source>FullTimeString が不正です。</source>
        <translation>Invalid FullTimeString.</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は有効な整数値ではありません。</source>
        <translation>&apos;%1&apos; is not a valid integer value.</translation>
    </message>
</context>
<context>
    <name>CountLine</name>
    <message>
        <source>%1個のファイル</source>
        <translation>%1 files</translation>
    </message>
    <message>
        <source>%1個のファイル中%2個マッチしました。</source>
        <translation>%2 of %1 files match.</translation>
    </message>
</context>
<context>
    <name>Elapsed</name>
    <message>
        <source>%1時間%2分%3秒</source>
        <translation>%1 h %2 min %3 s</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>「%1」は通常のファイルではないため、書き換えません。</source>
        <translation>&quot;%1&quot; is not a regular file, so it is not overwritten.</translation>
    </message>
    <message>
        <source>「%1」(「%2」を指すリンク)は通常のファイルではないため、書き換えません。</source>
        <translation>&quot;%1&quot; (a link to &quot;%2&quot;) is not a regular file, so it is not overwritten.</translation>
    </message>
    <message>
        <source>ファイル「%1」に書き込めませんでした。</source>
        <translation>Could not write to the file &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>History</name>
    <message>
        <source>該当なし</source>
        <translation>No matches</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>フォルダ</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>使用日時</source>
        <translation>Last Used</translation>
    </message>
    <message>
        <source>%1 ファイル</source>
        <translation>%1 File</translation>
    </message>
</context>
<context>
    <name>HistoryFile</name>
    <message>
        <source>データファイル(%1が見つかりません。</source>
        <translation>The data file (%1) cannot be found.</translation>
    </message>
    <message>
        <source>Vendle：書出中．．．(%1/%2)</source>
        <translation>Vendle: saving... (%1/%2)</translation>
    </message>
</context>
<context>
    <name>Opener</name>
    <message>
        <source>フォルダを開くアプリケーションが登録されていません。</source>
        <translation>No application is set up to open folders.</translation>
    </message>
    <message>
        <source>このファイルを開くアプリケーションが登録されていません。</source>
        <translation>No application is set up to open this file.</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>設定を保存できませんでした。
</source>
        <translation>The settings could not be saved.
</translation>
    </message>
</context>
<context>
    <name>ShellMenu</name>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>アプリケーションで開く(&amp;H)</source>
        <translation>Open &amp;With</translation>
    </message>
    <message>
        <source>フォルダを開く(&amp;F)</source>
        <translation>Open Containing &amp;Folder</translation>
    </message>
    <message>
        <source>（送り先）</source>
        <translation>(destinations)</translation>
    </message>
    <message>
        <source>切り取り(&amp;T)</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>コピー(&amp;C)</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>ゴミ箱へ移動(&amp;D)</source>
        <translation>Move to Tras&amp;h</translation>
    </message>
    <message>
        <source>プロパティ(&amp;R)</source>
        <translation>P&amp;roperties</translation>
    </message>
    <message>
        <source>この項目はありません。</source>
        <translation>This item does not exist.</translation>
    </message>
    <message>
        <source>ファイル名:</source>
        <translation>File: </translation>
    </message>
    <message>
        <source>アプリケーションが見つかりません: </source>
        <translation>Application not found: </translation>
    </message>
    <message>
        <source>フォルダ名:</source>
        <translation>Folder: </translation>
    </message>
    <message>
        <source>「%1」はすでにあります。上書きはしません。</source>
        <translation>&quot;%1&quot; already exists. It is not overwritten.</translation>
    </message>
    <message>
        <source>送り先がありません。</source>
        <translation>The destination does not exist.</translation>
    </message>
    <message>
        <source>送るファイルがありません。</source>
        <translation>There are no files to send.</translation>
    </message>
    <message>
        <source>送り先のフォルダ「%1」がありません。</source>
        <translation>The destination folder &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>「%1」には送れません。</source>
        <translation>Files cannot be sent to &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>デスクトップ</source>
        <translation>Desktop</translation>
    </message>
    <message>
        <source>ドキュメント</source>
        <translation>Documents</translation>
    </message>
</context>
<context>
    <name>Trash</name>
    <message>
        <source>「%1」はゴミ箱にありません。</source>
        <translation>&quot;%1&quot; is not in the trash.</translation>
    </message>
    <message>
        <source>元のフォルダ「%1」がありません: %2</source>
        <translation>The original folder &quot;%1&quot; does not exist: %2</translation>
    </message>
    <message>
        <source>同じ名前のファイルがあるため、元に戻せません: </source>
        <translation>Cannot restore, a file of the same name exists: </translation>
    </message>
</context>
<context>
    <name>vendle::app::DocumentMenu</name>
    <message>
        <source>履歴から削除(&amp;E)</source>
        <translation>R&amp;emove from History</translation>
    </message>
    <message>
        <source>次のファイルは見つかりません。
</source>
        <translation>The following files cannot be found.
</translation>
    </message>
</context>
<context>
    <name>vendle::app::DocumentOpener</name>
    <message>
        <source>ファイル名:</source>
        <translation>File: </translation>
    </message>
    <message>
        <source>%1 は読み取り専用ファイルです。続行しますか？</source>
        <translation>%1 is a read-only file. Continue?</translation>
    </message>
</context>
<context>
    <name>vendle::app::FilterMenus</name>
    <message>
        <source>フォルダ(&amp;F)</source>
        <translation>&amp;Folder</translation>
    </message>
    <message>
        <source>時間(&amp;T)</source>
        <translation>&amp;Time</translation>
    </message>
    <message>
        <source>種類(&amp;Y)</source>
        <translation>T&amp;ype</translation>
    </message>
    <message>
        <source>ひらがな・カタカナ、全角・半角を区別しない(&amp;K)</source>
        <translation>Ignore &amp;Kana and Width Differences</translation>
    </message>
    <message>
        <source>（なし）</source>
        <translation>(None)</translation>
    </message>
    <message>
        <source>今日使ったファイル(&amp;T)</source>
        <translation>Used &amp;Today</translation>
    </message>
    <message>
        <source>昨日・今日使ったファイル(&amp;Y)</source>
        <translation>Used Today or &amp;Yesterday</translation>
    </message>
    <message>
        <source>おととい・昨日・今日で使ったファイル（&amp;B)</source>
        <translation>Used in the Last Three Days (&amp;B)</translation>
    </message>
    <message>
        <source>この１週間で使ったファイル(&amp;W)</source>
        <translation>Used in the Last &amp;Week</translation>
    </message>
    <message>
        <source>この１０日間で使ったファイル(&amp;D)</source>
        <translation>Used in the Last 10 &amp;Days</translation>
    </message>
    <message>
        <source>ここ１ヶ月で使ったファイル(&amp;M)</source>
        <translation>Used in the Last &amp;Month</translation>
    </message>
</context>
<context>
    <name>vendle::app::FirstStart</name>
    <message>
        <source>初回起動です。</source>
        <translation>This is the first start.</translation>
    </message>
    <message>
        <source>『Vendle』をご使用いただきありがとうございます。</source>
        <translation>Thank you for using Vendle.</translation>
    </message>
    <message>
        <source>このプログラムはデスクトップの標準機能である「最近使ったファイル」の機能を拡張します。</source>
        <translation>This program extends the desktop&apos;s own Recent Files.</translation>
    </message>
    <message>
        <source>起動すると通知領域に常駐しますので、右クリックしてみたください。</source>
        <translation>It stays in the notification area while it runs: try right-clicking its icon there.</translation>
    </message>
    <message>
        <source>このプログラムを自動起動に登録しますか？
『Vendle』は常駐しないとその能力を発揮できません。
登録することを強くおすすめします。
ここで登録しない場合は手動で登録していただくことになります。
この文の意味がわからない方は、「はい」を押してください。</source>
        <translation>Start this program automatically when you log in?
Vendle can only keep your history while it runs.
Starting it at login is strongly recommended.
If you choose not to now, you can turn it on later in the settings.
If you are not sure what this means, choose &quot;Yes&quot;.</translation>
    </message>
    <message>
        <source>「いいえ」を選択しました。
</source>
        <translation>You chose &quot;No&quot;.
</translation>
    </message>
    <message>
        <source>自動起動には登録しません。</source>
        <translation>Vendle will not start automatically at login.</translation>
    </message>
    <message>
        <source>すでに自動起動に登録されています。</source>
        <translation>Vendle already starts automatically at login.</translation>
    </message>
    <message>
        <source>自動起動には別の場所のプログラムが登録されています。
%1
このプログラムに置き換えますか？</source>
        <translation>A program in another place is set to start at login:
%1
Replace it with this program?</translation>
    </message>
    <message>
        <source>(読み取れない登録)</source>
        <translation>(an entry that cannot be read)</translation>
    </message>
    <message>
        <source>自動起動に登録しました。</source>
        <translation>Vendle will now start automatically at login.</translation>
    </message>
</context>
<context>
    <name>vendle::app::HelpPages</name>
    <message>
        <source>index.htm</source>
        <translation>english.htm</translation>
    </message>
    <message>
        <source>Option.htm</source>
        <translation>english.htm#settings</translation>
    </message>
    <message>
        <source>exclude.htm</source>
        <translation>english.htm#exclude</translation>
    </message>
</context>
<context>
    <name>vendle::app::Program</name>
    <message>
        <source>除外するフォルダ</source>
        <translation>Folder to Exclude</translation>
    </message>
    <message>
        <source>履歴と設定を保存するフォルダ「%1」を使えません。
%2
今回使ったファイルの履歴と設定は保存されません。</source>
        <translation>The folder for the history and the settings, &quot;%1&quot;, cannot be used.
%2
The files used in this session and the settings will not be saved.</translation>
    </message>
    <message>
        <source>設定ファイル「%1」を読み込めませんでした。
このファイルは書き換えず、今回の設定は保存しません。</source>
        <translation>The settings file &quot;%1&quot; could not be read.
It is left as it is, and the settings of this session will not be saved.</translation>
    </message>
    <message>
        <source>Loading...</source>
        <translation>Loading...</translation>
    </message>
    <message>
        <source>Loading(%1/%2)...</source>
        <translation>Loading (%1/%2)...</translation>
    </message>
</context>
<context>
    <name>vendle::app::PropertiesDialog</name>
    <message>
        <source>プロパティ</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>種類:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>場所:</source>
        <translation>Location:</translation>
    </message>
    <message>
        <source>サイズ:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>%1 バイト</source>
        <translation>%1 bytes</translation>
    </message>
    <message>
        <source>更新日時:</source>
        <translation>Modified:</translation>
    </message>
    <message>
        <source>ほか%1個のファイル</source>
        <translation>and %1 more files</translation>
    </message>
</context>
<context>
    <name>vendle::app::TExclusionsDlg</name>
    <message>
        <source>除外するフォルダ</source>
        <translation>Excluded Folders</translation>
    </message>
    <message>
        <source>次のフォルダにあるファイルは履歴に記録しません(&amp;L)。</source>
        <translation>Fi&amp;les in these folders are not recorded in the history.</translation>
    </message>
    <message>
        <source>追加(&amp;A)...</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>削除(&amp;D)</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>隠しファイルと隠しフォルダにあるファイルを記録しない(&amp;H)</source>
        <translation>Do not record &amp;hidden files or files in hidden folders</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>除外するフォルダは%1個までです。</source>
        <translation>At most %1 folders can be excluded.</translation>
    </message>
    <message>
        <source>除外するフォルダにあるファイルが履歴に%1個あります。履歴から削除しますか？</source>
        <translation>The history holds %1 files in the excluded folders. Remove them from the history?</translation>
    </message>
</context>
<context>
    <name>vendle::app::TFormAboutBox</name>
    <message>
        <source>バージョン情報</source>
        <translation>About Vendle</translation>
    </message>
    <message>
        <source>Vendle の開発者</source>
        <translation>The Vendle developers</translation>
    </message>
    <message>
        <source>起動回数</source>
        <translation>Starts</translation>
    </message>
    <message>
        <source>n回</source>
        <translation>n times</translation>
    </message>
    <message>
        <source>使用時間</source>
        <translation>Time in use</translation>
    </message>
    <message>
        <source>00時間00分00秒</source>
        <translation>00 h 00 min 00 s</translation>
    </message>
    <message>
        <source>%1回</source>
        <translation>%1 times</translation>
    </message>
</context>
<context>
    <name>vendle::app::THtmlHelp</name>
    <message>
        <source>%1は見つかりません。</source>
        <translation>%1 cannot be found.</translation>
    </message>
    <message>
        <source>%1は通常のファイルではありません。</source>
        <translation>%1 is not a regular file.</translation>
    </message>
</context>
<context>
    <name>vendle::app::TOptionDlg</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>履歴数</source>
        <translation>History Size</translation>
    </message>
    <message>
        <source>履歴の最大数を決定します。</source>
        <translation>The most files the history keeps.</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>「読み取り専用」ファイルを開くときは確認する</source>
        <translation>Ask before opening a read-only file</translation>
    </message>
    <message>
        <source>ログイン時に自動起動する</source>
        <translation>Start automatically at login</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>自動起動の登録を変更できませんでした。
%1</source>
        <translation>The start at login could not be changed.
%1</translation>
    </message>
    <message>
        <source>数値を%1～%2の間で指定してください</source>
        <translation>Enter a number from %1 to %2</translation>
    </message>
    <message>
        <source>数値入力について</source>
        <translation>Number Input</translation>
    </message>
    <message>
        <source>履歴数を%1にすると、古いほうから%2個のファイルが履歴から削除されます。よろしいですか？</source>
        <translation>With a history size of %1, the %2 oldest files are removed from the history. Continue?</translation>
    </message>
</context>
<context>
    <name>vendle::app::TVendleMainForm</name>
    <message>
        <source>まだ、利用可能なデータはありません。</source>
        <translation>No data yet.</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>開く(&amp;O)</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>指定されたファイルを開き履歴に追加します</source>
        <translation>Opens a file you choose and adds it to the history</translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;nbsp;&amp;nbsp;&lt;a href=&quot;undo&quot;&gt;元に戻す&lt;/a&gt;</source>
        <translation>&amp;nbsp;&amp;nbsp;&lt;a href=&quot;undo&quot;&gt;Undo&lt;/a&gt;</translation>
    </message>
    <message>
        <source>除外するフォルダ(&amp;E)...</source>
        <translation>&amp;Excluded Folders...</translation>
    </message>
    <message>
        <source>フィルタ(&amp;I)</source>
        <translation>F&amp;ilter</translation>
    </message>
    <message>
        <source>目次(&amp;C)</source>
        <translation>&amp;Contents</translation>
    </message>
    <message>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About Vendle</translation>
    </message>
    <message>
        <source>平文テキストドキュメント</source>
        <translation>plain text document</translation>
    </message>
    <message>
        <source>ウィンドウを閉じても Vendle は動作を続けます。
もう一度 Vendle を起動すると、ウィンドウが表示されます。</source>
        <translation>Vendle keeps running when its window is closed.
Start Vendle again to show the window.</translation>
    </message>
</context>
<context>
    <name>vendle::app::TopPanel</name>
    <message>
        <source>nnn個のファイル</source>
        <translation>nnn files</translation>
    </message>
</context>
<context>
    <name>vendle::app::UndoLast</name>
    <message>
        <source>%1個のファイルを履歴から削除しました</source>
        <translation>Removed %1 files from the history</translation>
    </message>
    <message>
        <source>%1個のファイルをゴミ箱へ移動しました</source>
        <translation>Moved %1 files to the trash</translation>
    </message>
</context>
<context>
    <name>vendle::platform::Runner</name>
    <message>
        <source>フォルダを開く</source>
        <translation>Open Containing Folder</translation>
    </message>
</context>
<context>
    <name>vendle::widgets::HelpBrowser</name>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;h2&gt;ページを表示できません&lt;/h2&gt;&lt;p&gt;ヘルプファイルに「%1」が見つからないか、ファイルが壊れています。&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;h2&gt;The page cannot be shown&lt;/h2&gt;&lt;p&gt;The help file does not hold &quot;%1&quot;, or the file is damaged.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;head&gt;&lt;title&gt;読み込み中&lt;/title&gt;&lt;/head&gt;&lt;body&gt;&lt;p&gt;ヘルプファイルを読み込んでいます…&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;head&gt;&lt;title&gt;Loading&lt;/title&gt;&lt;/head&gt;&lt;body&gt;&lt;p&gt;Loading the help file…&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>vendle::widgets::HelpWindow</name>
    <message>
        <source>Vendle ヘルプ</source>
        <translation>Vendle Help</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>前のページに戻ります (Alt+←)</source>
        <translation>Go back to the previous page (Alt+Left)</translation>
    </message>
    <message>
        <source>進む</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>次のページに進みます (Alt+→)</source>
        <translation>Go forward to the next page (Alt+Right)</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>最初のページを表示します (Alt+Home)</source>
        <translation>Show the first page (Alt+Home)</translation>
    </message>
</context>
<context>
    <name>vendle::widgets::MessageBox</name>
    <message>
        <source>次回から表示しない(&amp;D)</source>
        <translation>&amp;Don&apos;t show this again</translation>
    </message>
</context>
<context>
    <name>vendle::widgets::TAVerInfo</name>
    <message>
        <source>TVerInfoのOwnerはTFormの派生クラスに限られます。</source>
        <translation>TVerInfo&apos;s owner must be a window.</translation>
    </message>
</context>
<context>
    <name>vendle::widgets::TFormProgress</name>
    <message>
        <source>処理経過</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>??????を処理中...</source>
        <translation>Processing ??????...</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>vendle::widgets::TValueBox</name>
    <message>
        <source>数値を%1～%2の間で指定してください</source>
        <translation>Enter a number from %1 to %2</translation>
    </message>
    <message>
        <source>数値入力について</source>
        <translation>Number Input</translation>
    </message>
</context>
<context>
    <name>vendle::widgets::TyTrayIcon</name>
    <message>
        <source>タスクトレイにアイコンを登録できません。</source>
        <translation>The icon cannot be added to the notification area.</translation>
    </message>
</context>
</TS>
