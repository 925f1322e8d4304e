#pragma once
// The report's second step: each excursion of the report with the comments it carries, and a
// field for a new one (what was done: the product moved, the door closed).
#include <QString>
#include <utility>
#include <vector>

#include "core/archive/ExcursionComments.h"
#include "ui/base/DialogBase.h"

class QTableWidget;

namespace saroko {
class CZorvicDoc;
}

namespace saroko::ui {

class CExcursionCommentsDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 0x170A00A;
    enum Column { kNumber, kChannel, kKind, kStart, kEnd, kEarlier, kNew, kColumns };
    // `earlier` are the comments the archive holds for them.
    CExcursionCommentsDlg(const std::vector<archive::NumberedExcursion>& excursions,
                          const std::vector<ExcursionComment>& earlier, QWidget* parent = nullptr);
    QTableWidget* Table() const { return m_pTable; }
    // The new comments typed, by excursion number; blank fields left out.
    std::vector<std::pair<int, std::string>> NewComments() const;

private:
    QTableWidget* m_pTable;
};

// Asks for comments on the excursions and records each as an event; false when the user
// cancels (no report then). Nothing is asked when there is no excursion of an archived
// recording. `comments` gets every comment the archive then holds for them.
bool AskExcursionComments(archive::CArchiveSession& session,
                          const std::vector<archive::NumberedExcursion>& excursions,
                          std::vector<ExcursionComment>& comments, QWidget* parent);

} // namespace saroko::ui
