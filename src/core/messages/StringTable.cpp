#include "core/messages/StringTable.h"

#include <algorithm>
#include <iterator>

#include "core/messages/Translate.h"

namespace saroko {
namespace {

// Every text the program shows in a message box: a headline, an empty line, the message.
// clang-format off
constexpr MessageDef kMessages[] = {
    {57696, MsgIcon::Information, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信結果\n\n通信は正常終了しました。")},
    {57697, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nシリアルポートのオープンエラーです。\nデバイス識別子が無効か、サポートされていません。")},
    {57698, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nシリアルポートのオープンエラーです。\nデバイスのボーレートはサポートされていません。")},
    {57699, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nシリアルポートのオープンエラーです。\n指定されたバイトサイズが無効です。")},
    {57700, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nシリアルポートのオープンエラーです。\nデフォルトのパラメータが間違っています。")},
    {57701, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nシリアルポートのオープンエラーです。\nハードウェアが利用可能ではありません。")},
    {57702, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nシリアルポートのオープンエラーです。\n関数がキューを割り当てることができません。")},
    {57703, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nシリアルポートのオープンエラーです。\nデバイスがオープンされていません。")},
    {57704, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nシリアルポートのオープンエラーです。\nデバイスはすでにオープンされています。")},
    {57705, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nケルブラのモードが不適切か未接続です。")},
    {57706, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nケルブラのモードが不適切です。")},
    {57707, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nケルブラが未接続です。")},
    {57708, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nケルブラとの通信が途中で失敗しました。")},
    {57709, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\n記録データがありません。")},
    {57710, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\nチェックサムエラーです。")},
    {57711, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "通信エラー\n\n通信できません。")},
    {57712, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "チャンネル名 入力エラー\n\nチャンネル名は８文字以内で入力してください。")},
    {57713, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（年）入力エラー\n\n日時として認められない文字が入力されています。")},
    {57714, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（月）入力エラー\n\n日時として認められない文字が入力されています。")},
    {57715, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（日）入力エラー\n\n日時として認められない文字が入力されています。")},
    {57716, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（時）入力エラー\n\n日時として認められない文字が入力されています。")},
    {57717, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（分）入力エラー\n\n日時として認められない文字が入力されています。")},
    {57718, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（秒）入力エラー\n\n日時として認められない文字が入力されています。")},
    {57719, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（年）入力エラー\n\n１９７０～２０３５を入力してください。")},
    {57720, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（月）入力エラー\n\n１～１２の範囲で入力してください。")},
    {57721, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（日）入力エラー\n\n正しい日付を入力してください。")},
    {57722, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（時）入力エラー\n\n０～２３の範囲で入力してください。")},
    {57723, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（分）入力エラー\n\n０～５９の範囲で入力してください。")},
    {57724, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時（秒）入力エラー\n\n０～５９の範囲で入力してください。")},
    {57725, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "開始方法入力エラー\n\n予約スタートか即時スタートを選択してください。")},
    {57728, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "パレット（Red）入力エラー\n\n数値として認められない文字が入力されています。")},
    {57729, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "パレット（Green）入力エラー\n\n数値として認められない文字が入力されています。")},
    {57730, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "パレット（Blue）入力エラー\n\n数値として認められない文字が入力されています。")},
    {57731, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "パレット（Red）入力エラー\n\n０～２５５の範囲で入力してください。")},
    {57732, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "パレット（Green）入力エラー\n\n０～２５５の範囲で入力してください。")},
    {57733, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "パレット（Blue）入力エラー\n\n０～２５５の範囲で入力してください。")},
    {57744, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時チェックエラー\n\nシステムカレンダ値へ変換できない日時が入力されています。")},
    {57745, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時チェックエラー\n\n記録開始日時が、現在日時より過去を示しています。")},
    {57746, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "日時チェックエラー\n\n算出有効範囲の終了日時が、開始日時より過去を示しています。")},
    {57747, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "チャンネルＮｏ指定エラー\n\nチャンネルＮｏを指定してください。")},
    {57748, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "ファイル名指定エラー\n\n指定されたファイルは存在しません。")},
    {57749, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "ファイル名指定エラー\n\n拡張子が違うか入力されていません。")},
    {57750, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "設定値受信\n\nマニュアル操作により記録を開始している為、\n開始方法と記録開始日時が不明です。")},
    {57751, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "読み取り専用ファイルのため上書き保存できません。\n")},
    {57752, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "データの保存に失敗しました。")},
    {57760, MsgIcon::Question, MsgButtons::YesNo, SAROKO_TRANSLATE_NOOP("Message", "上書き確認\n\n記録データが上書きされますがよろしいですか？")},
    {57761, MsgIcon::Question, MsgButtons::OkCancel, SAROKO_TRANSLATE_NOOP("Message", "読み込み確認\n\nチャンネル１～８の範囲を越えてしまいます。可能な範囲で読み込みを続行してもよろしいですか？")},
    {57762, MsgIcon::Question, MsgButtons::YesNo, SAROKO_TRANSLATE_NOOP("Message", "終了確認\n\nデータが保存されていませんが、アプリケーションを\n終了してよろしいですか？")},
    {57784, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "機種判別処理\n\n接続されている機種は不明です。")},
    {57792, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "上下限値入力エラー\n\n上限値が正しく入力されていません。")},
    {57793, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "上下限値入力エラー\n\n下限値が正しく入力されていません。")},
    {57794, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "上下限値入力エラー\n\n上限値の有効桁数が６桁を越えています。")},
    {57795, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "上下限値入力エラー\n\n下限値の有効桁数が６桁を越えています。")},
    {57796, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "上下限値入力エラー\n\n上限値より下限値の方が大きい値になっています。")},
    {57797, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "上下限値入力エラー\n\n上下限値の差が２未満になっています。")},
    {58001, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "控え保存エラー\n\n吸い上げたデータの控えを保存できませんでした。")},
    {58002, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "\n\n通信記録ファイル:\n")},
    {58003, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "ファイル読み込みエラー\n\nファイルを読み込めませんでした。")},
    {58004, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "ファイル読み込みエラー\n\nファイルが短すぎます。データファイルではないか、壊れています。")},
    {58005, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "ファイル読み込みエラー\n\nデータが途中で切れています。ファイルが壊れています。")},
    {58006, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "ファイル読み込みエラー\n\nチャンネルのデータ数か記録間隔が読めません。ファイルが壊れています。")},
    {58007, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "記録保管庫エラー\n\n")},
    {58008, MsgIcon::Question, MsgButtons::YesNo, SAROKO_TRANSLATE_NOOP("Message", "記録保管庫エラー\n\n記録保管庫が壊れています。壊れたものは別の名前で残し、新しい記録保管庫を始めてもよろしいですか？")},
    {58010, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "フォルダ移動エラー\n\n以前のフォルダの中身を新しいフォルダへ移せませんでした。以前のフォルダは残してあります。")},
    {58011, MsgIcon::Exclamation, MsgButtons::Ok, SAROKO_TRANSLATE_NOOP("Message", "記録の変更を検出\n\n")},
};
// clang-format on

} // namespace

const MessageDef* FindMessage(int id) {
    const auto it = std::lower_bound(std::begin(kMessages), std::end(kMessages), id,
                                     [](const MessageDef& m, int v) { return m.id < v; });
    return (it != std::end(kMessages) && it->id == id) ? it : nullptr;
}

std::string_view MessageText(int id) {
    const MessageDef* m = FindMessage(id);
    return m ? std::string_view(m->text) : std::string_view();
}

std::span<const MessageDef> AllMessages() {
    return kMessages;
}

bool DefaultAnswerIsNo(int id) {
    return id == msg::kQuitUnsaved;
}

} // namespace saroko
