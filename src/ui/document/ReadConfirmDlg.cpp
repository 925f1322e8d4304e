#include "ui/document/ReadConfirmDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace saroko::ui {

CReadConfirmDlg::CReadConfirmDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("読込確認"));
    auto* layout = new QVBoxLayout(this);
    const QString texts[] = {
        tr("読み込むファイルのデータだけを見たい時は、［新規］ボタンをクリックしてください。"),
        tr("グラフ表示をしているデータと、読み込むファイルのデータを同じグラフの中で見たい時は、［"
           "追加］ボタンをクリックしてください。")};
    for (const QString& t : texts) {
        auto* label = new QLabel(t, this);
        label->setWordWrap(true);
        label->setMinimumWidth(360);
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
