#include "document/MenuTable.h"

#include "document/CommandState.h"
#include "files/FileCommands.h"

namespace saroko {
namespace {

using K = MenuItem::Kind;

constexpr MenuItem kFileMenu[] = {
    {K::kCommand, cmd::kFileOpen, "開く(O)...", "Ctrl+O"},
    {K::kCommand, cmd::kFileSave, "全データを上書き保存(W)", "Ctrl+W"},
    {K::kCommand, cmd::kFileSaveAll, "全データを保存(A)...", nullptr},
    {K::kCommand, cmd::kFileSaveRange, "表示範囲を保存(D)...", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kExportAll, "全データをﾃｷｽﾄﾌｧｲﾙ出力(T)...", nullptr},
    {K::kCommand, cmd::kExportRange, "表示範囲をﾃｷｽﾄﾌｧｲﾙ出力(F)...", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kPrintColour, "カラーグラフ印刷(P)...", "Ctrl+P"},
    {K::kCommand, cmd::kPrintMono, "モノクログラフ印刷(M)...", "Ctrl+M"},
    {K::kCommand, cmd::kPrintDataList, "データ一覧印刷(L)...", nullptr},
    {K::kCommand, cmd::kPrintSetup, "プリンタの設定(R)...", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kRecentFirst, "以前開いたファイル", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kExit, "終了(X)", nullptr},
};

constexpr MenuItem kEditMenu[] = {
    {K::kCommand, cmd::kCopy, "コピー(C)", "Ctrl+C"},
};

constexpr MenuItem kCommMenu[] = {
    {K::kCommand, cmd::kRecordStart, "記録スタート(S)...", nullptr},
    {K::kCommand, cmd::kDownload, "記録データ吸い上げ(D)...", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kSelectPort, "シリアルポートの選択(P)...", nullptr},
};

constexpr MenuItem kToolMenu[] = {
    {K::kCommand, cmd::kDataList, "ﾃﾞｰﾀ一覧表示(L)...", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kShowOnOff, "指定Ch.表示ON/OFF(D)...", nullptr},
    {K::kCommand, cmd::kDeleteChannels, "指定Ch.ﾃﾞｰﾀ削除(E)...", nullptr},
    {K::kCommand, cmd::kReorderChannels, "Ch.ﾃﾞｰﾀの並び替え(O)...", nullptr},
    {K::kCommand, cmd::kChannelColours, "Ch.ｶﾗｰ変更(C)...", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kUnitSwitch, "単位切り替え ﾟC ⇔ ﾟF (U)", nullptr},
    {K::kCommand, cmd::kCalcRange, "計算範囲の設定(R)...", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kEditConditions, "記録条件の編集(I)...", nullptr},
};

constexpr MenuItem kGraphMenu[] = {
    {K::kSubmenu, 0, "カーソルスタイル(C)", nullptr},
    {K::kCommand, cmd::kCursorSolid, "実線(S)", nullptr},
    {K::kCommand, cmd::kCursorDotted, "点線(D)", nullptr},
    {K::kCommand, cmd::kCursorDashed, "破線(A)", nullptr},
    {K::kEnd, 0, nullptr, nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kCursorA, "Ａカーソル(A)", "Ctrl+A"},
    {K::kCommand, cmd::kCursorB, "Ｂカーソル(B)", "Ctrl+B"},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kCursorRight, "カーソル右移動(R)", "Ctrl+→"},
    {K::kCommand, cmd::kCursorLeft, "カーソル左移動(L)", "Ctrl+←"},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kZoomIn, "倍率アップ(I)", "Ctrl+↑"},
    {K::kCommand, cmd::kZoomOut, "倍率ダウン(O)", "Ctrl+↓"},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kGraphRight, "グラフ右移動(G)", "Shift+→"},
    {K::kCommand, cmd::kGraphLeft, "グラフ左移動(F)", "Shift+←"},
    {K::kCommand, cmd::kGraphUp, "グラフ上移動(U)", "Shift+↑"},
    {K::kCommand, cmd::kGraphDown, "グラフ下移動(D)", "Shift+↓"},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kFullScale, "縦軸フルスケール設定(S)...", nullptr},
};

constexpr MenuItem kHelpMenu[] = {
    {K::kCommand, cmd::kHelpContents, "目次(C)", nullptr},
    {K::kSeparator, 0, nullptr, nullptr},
    {K::kCommand, cmd::kAbout, "バージョン情報(A)...", nullptr},
};

constexpr MenuDef kMenuBar[] = {
    {"ﾌｧｲﾙ(F)", kFileMenu}, {"編集(E)", kEditMenu},       {"通信(C)", kCommMenu},
    {"ﾂｰﾙ(T)", kToolMenu},  {"ｸﾞﾗﾌ操作(G)", kGraphMenu}, {"ﾍﾙﾌﾟ(H)", kHelpMenu},
};

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

std::span<const MenuDef> MenuBar() { return kMenuBar; }
std::span<const Accelerator> AcceleratorTable() { return kAccelerators; }

} // namespace saroko
