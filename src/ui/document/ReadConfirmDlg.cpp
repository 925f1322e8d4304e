#include "ui/document/ReadConfirmDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "core/text/LineBreaks.h"

namespace saroko::ui {

CReadConfirmDlg::CReadConfirmDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("読込確認"));
    auto* layout = new QVBoxLayout(this);
    const QString texts[] = {
        tr("読み込むファイルのデータだけを見たい時は、［新規］ボタンをクリックしてください。"),
        tr("グラフ表示をしているデータと、読み込むファイルのデータを同じグラフの中で見たい時は、［"
           "追加］ボタンをクリックしてください。")};
    // Lines break between clauses, never inside a word: as wide as the widest clause, and at
    // least a comfortable reading width.
    const QFontMetrics fm(font());
    const auto width = [&fm](const std::string& s) {
        return fm.horizontalAdvance(QString::fromStdString(s));
    };
    int lineWidth = 360;
    for (const QString& t : texts)
        for (const std::string& run : UnbreakableRuns(t.toStdString()))
            lineWidth = std::max(lineWidth, width(run));
    for (const QString& t : texts) {
        QStringList lines;
        for (const std::string& line : WrapAtRuns(t.toStdString(), lineWidth, width))
            lines << QString::fromStdString(line);
        auto* label = new QLabel(lines.join(QLatin1Char('\n')), this);
        label->setObjectName(QStringLiteral("text"));
        layout->addWidget(label);
    }
    auto* buttons = new QHBoxLayout;
    auto* newButton = new QPushButton(tr("新規"), this);
    auto* appendButton = new QPushButton(tr("追加"), this);
    auto* cancelButton = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    newButton->setObjectName(QStringLiteral("new"));
    appendButton->setObjectName(QStringLiteral("append"));
    cancelButton->setObjectName(QStringLiteral("cancel"));
    newButton->setDefault(true);
    buttons->addStretch();
    buttons->addWidget(newButton);
    buttons->addWidget(appendButton);
    buttons->addWidget(cancelButton);
    layout->addLayout(buttons);
    connect(newButton, &QPushButton::clicked, this, [this] {
        m_nMode = 1;
        accept();
    });
    connect(appendButton, &QPushButton::clicked, this, [this] {
        m_nMode = 2;
        accept();
    });
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace saroko::ui
