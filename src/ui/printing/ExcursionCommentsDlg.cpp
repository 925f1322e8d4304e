#include "ui/printing/ExcursionCommentsDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/printing/DataList.h"
#include "ui/base/MessageSink.h"

namespace saroko::ui {

CExcursionCommentsDlg::CExcursionCommentsDlg(
    const std::vector<archive::NumberedExcursion>& excursions,
    const std::vector<ExcursionComment>& earlier, QWidget* parent)
    : CDialogBase(kHelpTopic, parent),
      m_pTable(new QTableWidget(static_cast<int>(excursions.size()), kColumns, this)) {
    setObjectName(QStringLiteral("excursion-comments"));
    setWindowTitle(tr("逸脱へのｺﾒﾝﾄ"));
    m_pTable->setHorizontalHeaderLabels({tr("No."), tr("Ch."), tr("種類"), tr("開始"), tr("終了"),
                                         tr("これまでのｺﾒﾝﾄ"), tr("新しいｺﾒﾝﾄ")});
    m_pTable->verticalHeader()->hide();
    for (int row = 0; row < m_pTable->rowCount(); ++row) {
        const archive::NumberedExcursion& x = excursions[static_cast<std::size_t>(row)];
        QStringList said;
        for (const ExcursionComment& c : earlier)
            if (c.excursion == x.number)
                said << QString::fromStdString(c.text);
        const QString cells[] = {QString::number(x.number),
                                 QString::number(x.channel),
                                 x.excursion.kind == Excursion::kHigh ? tr("上限超過")
                                                                      : tr("下限未満"),
                                 QString::fromStdString(ListTimeText(x.excursion.start)),
                                 QString::fromStdString(ListTimeText(x.excursion.end)),
                                 said.join(QStringLiteral(" / "))};
        for (int column = 0; column < kNew; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            item->setToolTip(cells[column]);
            m_pTable->setItem(row, column, item);
        }
        // Only an archived recording keeps a comment.
        auto* field = new QTableWidgetItem;
        if (x.recordingSha256.empty()) {
            field->setFlags(field->flags() & ~Qt::ItemIsEditable);
            field->setText(tr("(ｱｰｶｲﾌﾞにない記録)"));
        }
        m_pTable->setItem(row, kNew, field);
    }
    m_pTable->resizeColumnsToContents();
    m_pTable->setColumnWidth(kEarlier, std::min(m_pTable->columnWidth(kEarlier), 260));
    m_pTable->setColumnWidth(kNew, 320);
    m_pTable->horizontalHeader()->setStretchLastSection(true);
    m_pTable->setEditTriggers(QAbstractItemView::AllEditTriggers);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(tr("逸脱ごとに、行ったこと (製品を移した、扉を閉めた など) を書けます。"
                      "ｺﾒﾝﾄはｱｰｶｲﾌﾞに記録され、消せません。"),
                   this));
    layout->addWidget(m_pTable, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(tr("ｷｬﾝｾﾙ"), QDialogButtonBox::RejectRole);
    ConnectHelp(buttons->addButton(tr("ﾍﾙﾌﾟ"), QDialogButtonBox::HelpRole));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(1000, 360);
    if (m_pTable->rowCount() > 0)
        m_pTable->setCurrentCell(0, kNew);
}

std::vector<std::pair<int, std::string>> CExcursionCommentsDlg::NewComments() const {
    std::vector<std::pair<int, std::string>> out;
    for (int row = 0; row < m_pTable->rowCount(); ++row) {
        const QTableWidgetItem* item = m_pTable->item(row, kNew);
        if (!item || !(item->flags() & Qt::ItemIsEditable) || item->text().trimmed().isEmpty())
            continue;
        out.emplace_back(m_pTable->item(row, kNumber)->text().toInt(),
                         item->text().trimmed().toStdString());
    }
    return out;
}

bool AskExcursionComments(archive::CArchiveSession& session,
                          const std::vector<archive::NumberedExcursion>& excursions,
                          std::vector<ExcursionComment>& comments, QWidget* parent) {
    comments = archive::StoredComments(session, excursions);
    if (!session.Enabled() || std::none_of(excursions.begin(), excursions.end(), [](const auto& x) {
            return !x.recordingSha256.empty();
        }))
        return true;
    CExcursionCommentsDlg dlg(excursions, comments, parent);
    if (ExecDialog(dlg) != QDialog::Accepted)
        return false;
    const auto typed = dlg.NewComments();
    if (typed.empty())
        return true;
    for (const auto& [number, text] : typed)
        archive::RecordComment(session, excursions[static_cast<std::size_t>(number - 1)], text);
    if (!session.Flush())
        ShowFrameworkMessage(CExcursionCommentsDlg::tr("ｺﾒﾝﾄをまだｱｰｶｲﾌﾞに書き込めていません。"
                                                       "このﾚﾎﾟｰﾄには載りません。"),
                             parent);
    comments = archive::StoredComments(session, excursions);
    return true;
}

} // namespace saroko::ui
