#pragma once
// ﾂｰﾙ → 署名鍵: the archive's signing keys, a new key of one's own (a name and a passphrase
// twice) and the retiring of one; ﾌｧｲﾙ → ﾚﾎﾟｰﾄに署名: a report, the meaning, the name as
// registered and the passphrase, each time. The rules are core's; these windows only ask.
#include <QDialogButtonBox>
#include <QString>

#include "core/archive/ArchiveSession.h"
#include "ui/base/DialogBase.h"

class QComboBox;
class QLabel;
class QVBoxLayout;
class QLineEdit;
class QTreeWidget;

namespace saroko::ui {

namespace help {
inline constexpr int kSigningKeys = 0x160A00A;
inline constexpr int kSignReport = 0x160A00B;
} // namespace help

// What both signing windows share: the archive, a column of rows, and at its foot the result
// line and the buttons with the help.
class CSigningDlgBase : public CDialogBase {
    Q_OBJECT
public:
    QLabel* Result() const { return m_pResult; }

protected:
    CSigningDlgBase(archive::CArchiveSession& session, int helpTopic, const char* name,
                    const QString& title, QWidget* parent);
    // The result line (id `resultId`) and the buttons `which` under the rows.
    QDialogButtonBox* AddFoot(int resultId, QDialogButtonBox::StandardButtons which);

    archive::CArchiveSession& m_session;
    QVBoxLayout* m_pTop = nullptr;
    QLabel* m_pResult = nullptr;
};

class CSigningKeysDlg final : public CSigningDlgBase {
    Q_OBJECT
public:
    CSigningKeysDlg(archive::CArchiveSession& session, QWidget* parent);

    void Reload();
    void CreateKey();
    void RetireSelected();
    QTreeWidget* List() const { return m_pList; }

    static constexpr int kIdcList = 2301;
    static constexpr int kIdcName = 2302;
    static constexpr int kIdcPass = 2303;
    static constexpr int kIdcPassAgain = 2304;
    static constexpr int kIdcCreate = 2305;
    static constexpr int kIdcRetire = 2306;
    static constexpr int kIdcResult = 2307;

private:
    QTreeWidget* m_pList = nullptr;
    QLineEdit* m_pName = nullptr;
    QLineEdit* m_pPass = nullptr;
    QLineEdit* m_pPassAgain = nullptr;
};

class CSignReportDlg final : public CSigningDlgBase {
    Q_OBJECT
public:
    CSignReportDlg(archive::CArchiveSession& session, const QString& report, QWidget* parent);

    // The signed copy written, once signed.
    QString SignedCopy() const { return m_szCopy; }

    static constexpr int kIdcReport = 2401;
    static constexpr int kIdcBrowse = 2402;
    static constexpr int kIdcMeaning = 2403;
    static constexpr int kIdcName = 2404;
    static constexpr int kIdcPass = 2405;
    static constexpr int kIdcResult = 2406;

protected:
    void accept() override;

private:
    QLineEdit* m_pReport = nullptr;
    QComboBox* m_pMeaning = nullptr;
    QComboBox* m_pName = nullptr;
    QLineEdit* m_pPass = nullptr;
    QString m_szCopy;
};

} // namespace saroko::ui
