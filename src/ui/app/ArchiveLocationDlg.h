#pragma once
// ﾂｰﾙ → 記録保管庫の場所: the connection string of a site archive on a PostgreSQL server, or
// empty for this computer's own archive, with a button that tries the connection.
#include <functional>
#include <string>

#include "ui/base/DialogBase.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace saroko::ui {

namespace help {
inline constexpr int kArchiveLocation = 0x140A00A;
}

class CArchiveLocationDlg final : public CDialogBase {
    Q_OBJECT
public:
    // `test` tries a location: "" when it answers, else why not.
    using Tester = std::function<std::string(const std::string& location)>;
    CArchiveLocationDlg(const std::string& location, Tester test, QWidget* parent);

    std::string Location() const { return m_szLocation; }
    QLineEdit* Field() const { return m_pEdit; }
    QLabel* Result() const { return m_pResult; }
    void TestConnection();

    static constexpr int kIdcLocation = 2201;
    static constexpr int kIdcTest = 2202;
    static constexpr int kIdcResult = 2203;

protected:
    void accept() override;

private:
    // False (said in the result line) when the text holds a password.
    bool CheckNoPassword(const std::string& text);

    Tester m_test;
    std::string m_szLocation;
    QLineEdit* m_pEdit = nullptr;
    QLabel* m_pResult = nullptr;
};

} // namespace saroko::ui
