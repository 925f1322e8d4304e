#include "core/document/MenuTable.h"

#include "core/document/CommandState.h"
#include "core/messages/Translate.h"

namespace saroko {
namespace {

using K = MenuItem::Kind;

// clang-format off

constexpr MenuItem kFileMenu[] = {
    {K::kCommand, cmd::kFileOpen, SAROKO_TRANSLATE_NOOP("Menu", "開く(O)..."), "Ctrl+O"},
    {K::kCommand, cmd::kFileSave, SAROKO_TRANSLATE_NOOP("Menu", "全データを上書き保存(W)"), "Ctrl+W"},
    {K::kCommand, cmd::kFileSaveAll, SAROKO_TRANSLATE_NOOP("Menu", "全データを保存(A)..."), nullptr},
    {K::kCommand, cmd::kFileSaveRange, SAROKO_TRANSLATE_NOOP("Menu", "表示範囲を保存(D)..."), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kExportAll, SAROKO_TRANSLATE_NOOP("Menu", "全データをﾃｷｽﾄﾌｧｲﾙ出力(T)..."), nullptr},
    {K::kCommand, cmd::kExportRange, SAROKO_TRANSLATE_NOOP("Menu", "表示範囲をﾃｷｽﾄﾌｧｲﾙ出力(F)..."), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kPrintColour, SAROKO_TRANSLATE_NOOP("Menu", "カラーグラフ印刷(P)..."), "Ctrl+P"},
    {K::kCommand, cmd::kPrintMono, SAROKO_TRANSLATE_NOOP("Menu", "モノクログラフ印刷(M)..."), "Ctrl+M"},
    {K::kCommand, cmd::kPrintDataList, SAROKO_TRANSLATE_NOOP("Menu", "データ一覧印刷(L)..."), nullptr},
    {K::kCommand, cmd::kPrintSetup, SAROKO_TRANSLATE_NOOP("Menu", "プリンタの設定(R)..."), nullptr},
    {K::kCommand, cmd::kReport, SAROKO_TRANSLATE_NOOP("Menu", "レポート出力(E)..."), nullptr},
    {K::kCommand, cmd::kSignReport, SAROKO_TRANSLATE_NOOP("Menu", "レポートに署名(G)..."), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kRecordings, SAROKO_TRANSLATE_NOOP("Menu", "記録ﾃﾞｰﾀ一覧(K)..."), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kRecentFirst, SAROKO_TRANSLATE_NOOP("Menu", "以前開いたファイル"), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kExit, SAROKO_TRANSLATE_NOOP("Menu", "終了(X)"), nullptr},
};

constexpr MenuItem kEditMenu[] = {
    {K::kCommand, cmd::kCopy, SAROKO_TRANSLATE_NOOP("Menu", "コピー(C)"), "Ctrl+C"},
};

constexpr MenuItem kCommMenu[] = {
    {K::kCommand, cmd::kRecordStart, SAROKO_TRANSLATE_NOOP("Menu", "記録スタート(S)..."), nullptr},
    {K::kCommand, cmd::kDownload, SAROKO_TRANSLATE_NOOP("Menu", "記録データ吸い上げ(D)..."), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kSelectPort, SAROKO_TRANSLATE_NOOP("Menu", "シリアルポートの選択(P)..."), nullptr},
};

constexpr MenuItem kToolMenu[] = {
    {K::kCommand, cmd::kDataList, SAROKO_TRANSLATE_NOOP("Menu", "ﾃﾞｰﾀ一覧表示(L)..."), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kShowOnOff, SAROKO_TRANSLATE_NOOP("Menu", "指定Ch.表示ON/OFF(D)..."), nullptr},
    {K::kCommand, cmd::kDeleteChannels, SAROKO_TRANSLATE_NOOP("Menu", "指定Ch.ﾃﾞｰﾀ削除(E)..."), nullptr},
    {K::kCommand, cmd::kReorderChannels, SAROKO_TRANSLATE_NOOP("Menu", "Ch.ﾃﾞｰﾀの並び替え(O)..."), nullptr},
    {K::kCommand, cmd::kChannelColours, SAROKO_TRANSLATE_NOOP("Menu", "Ch.ｶﾗｰ変更(C)..."), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kUnitSwitch, SAROKO_TRANSLATE_NOOP("Menu", "単位切り替え ﾟC ⇔ ﾟF (U)"), nullptr},
    {K::kCommand, cmd::kCalcRange, SAROKO_TRANSLATE_NOOP("Menu", "計算範囲の設定(R)..."), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kEditConditions, SAROKO_TRANSLATE_NOOP("Menu", "記録条件の編集(I)..."), nullptr},
    {K::kCommand, cmd::kAskReason, SAROKO_TRANSLATE_NOOP("Menu", "名前･開始時刻の変更理由を尋ねる(Y)"), nullptr},
    {K::kCommand, cmd::kArchiveLocation, SAROKO_TRANSLATE_NOOP("Menu", "記録保管庫の場所(A)..."), nullptr},
    {K::kCommand, cmd::kUnits, SAROKO_TRANSLATE_NOOP("Menu", "保管場所と校正(K)..."), nullptr},
    {K::kCommand, cmd::kSigningKeys, SAROKO_TRANSLATE_NOOP("Menu", "署名鍵(S)..."), nullptr},
};

constexpr MenuItem kGraphMenu[] = {
    {K::kSubmenu, 0, SAROKO_TRANSLATE_NOOP("Menu", "カーソルスタイル(C)"), nullptr},
    {K::kCommand, cmd::kCursorSolid, SAROKO_TRANSLATE_NOOP("Menu", "実線(S)"), nullptr},
    {K::kCommand, cmd::kCursorDotted, SAROKO_TRANSLATE_NOOP("Menu", "点線(D)"), nullptr},
    {K::kCommand, cmd::kCursorDashed, SAROKO_TRANSLATE_NOOP("Menu", "破線(A)"), nullptr},
    {K::kEnd, 0, nullptr, nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kCursorA, SAROKO_TRANSLATE_NOOP("Menu", "Ａカーソル(A)"), "Ctrl+A"},
    {K::kCommand, cmd::kCursorB, SAROKO_TRANSLATE_NOOP("Menu", "Ｂカーソル(B)"), "Ctrl+B"},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kCursorRight, SAROKO_TRANSLATE_NOOP("Menu", "カーソル右移動(R)"), "Ctrl+→"},
    {K::kCommand, cmd::kCursorLeft, SAROKO_TRANSLATE_NOOP("Menu", "カーソル左移動(L)"), "Ctrl+←"},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kZoomIn, SAROKO_TRANSLATE_NOOP("Menu", "倍率アップ(I)"), "Ctrl+↑"},
    {K::kCommand, cmd::kZoomOut, SAROKO_TRANSLATE_NOOP("Menu", "倍率ダウン(O)"), "Ctrl+↓"},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kGraphRight, SAROKO_TRANSLATE_NOOP("Menu", "グラフ右移動(G)"), "Shift+→"},
    {K::kCommand, cmd::kGraphLeft, SAROKO_TRANSLATE_NOOP("Menu", "グラフ左移動(F)"), "Shift+←"},
    {K::kCommand, cmd::kGraphUp, SAROKO_TRANSLATE_NOOP("Menu", "グラフ上移動(U)"), "Shift+↑"},
    {K::kCommand, cmd::kGraphDown, SAROKO_TRANSLATE_NOOP("Menu", "グラフ下移動(D)"), "Shift+↓"},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kFullScale, SAROKO_TRANSLATE_NOOP("Menu", "縦軸フルスケール設定(S)..."), nullptr},
};

constexpr MenuItem kHelpMenu[] = {
    {K::kCommand, cmd::kHelpContents, SAROKO_TRANSLATE_NOOP("Menu", "目次(C)"), nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kAbout, SAROKO_TRANSLATE_NOOP("Menu", "バージョン情報(A)..."), nullptr},
};

constexpr MenuDef kMenuBar[] = {
    {SAROKO_TRANSLATE_NOOP("Menu", "ﾌｧｲﾙ(F)"), kFileMenu},
    {SAROKO_TRANSLATE_NOOP("Menu", "編集(E)"), kEditMenu},
    {SAROKO_TRANSLATE_NOOP("Menu", "通信(C)"), kCommMenu},
    {SAROKO_TRANSLATE_NOOP("Menu", "ﾂｰﾙ(T)"), kToolMenu},
    {SAROKO_TRANSLATE_NOOP("Menu", "ｸﾞﾗﾌ操作(G)"), kGraphMenu},
    {SAROKO_TRANSLATE_NOOP("Menu", "ﾍﾙﾌﾟ(H)"), kHelpMenu},
};
// clang-format on

using A = Accelerator;
constexpr Accelerator kAccelerators[] = {
    {A::kCtrl, A::kKeyN, cmd::kFileNew},
    {A::kCtrl, A::kKeyO, cmd::kFileOpen},
    {A::kCtrl, A::kKeyW, cmd::kFileSave},
    {A::kCtrl, A::kKeyP, cmd::kPrintColour},
    {A::kCtrl, A::kKeyM, cmd::kPrintMono},
    {A::kCtrl, A::kKeyC, cmd::kCopy},
    {A::kCtrl, A::kInsert, cmd::kCopy},
    {A::kCtrl, A::kKeyA, cmd::kCursorA},
    {A::kCtrl, A::kKeyB, cmd::kCursorB},
    {A::kCtrl, A::kRight, cmd::kCursorRight},
    {A::kCtrl, A::kLeft, cmd::kCursorLeft},
    {A::kCtrl, A::kUp, cmd::kZoomIn},
    {A::kCtrl, A::kDown, cmd::kZoomOut},
    {A::kShift, A::kRight, cmd::kGraphRight},
    {A::kShift, A::kLeft, cmd::kGraphLeft},
    {A::kShift, A::kUp, cmd::kGraphUp},
    {A::kShift, A::kDown, cmd::kGraphDown},
    {A::kNone, A::kF1, cmd::kHelp},
    {A::kShift, A::kF1, cmd::kContextHelp},
    {A::kCtrl | A::kAlt, A::kF10, cmd::kCommandTest},
    // Linux desktops take Ctrl+Alt+F10 for the virtual consoles.
    {A::kCtrl | A::kShift, A::kF10, cmd::kCommandTest},
    // Keys of the edit commands the program does not handle: they do nothing.
    {A::kCtrl, A::kKeyX, 57635},
    {A::kShift, A::kDelete, 57635},
    {A::kCtrl, A::kKeyV, 57637},
    {A::kShift, A::kInsert, 57637},
    {A::kCtrl, A::kKeyZ, 57643},
    {A::kAlt, A::kBackspace, 57643},
    {A::kNone, A::kF6, 57680},
    {A::kShift, A::kF6, 57681},
};

} // namespace

std::span<const MenuDef> MenuBar() {
    return kMenuBar;
}
std::span<const Accelerator> AcceleratorTable() {
    return kAccelerators;
}

} // namespace saroko
