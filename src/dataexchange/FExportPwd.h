// The password of the enciphered export: its rules, the saved password file "FExport.pwd" and the dialog
// "自己復元パスワードの入力".
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <optional>

class QCheckBox;
class QLineEdit;
class QPushButton;

inline const QString PasswordFileName = QStringLiteral("FExport.pwd");
inline const QString PasswordSection = QStringLiteral("FILE EXPORT PASSWORD");

// 8 to 16 characters of 0-9, A-Z, a-z.
bool IsPasswordChars(const QString& text);

// "FExport.pwd": 32-bit little-endian length, then the bytes each complemented. nullopt when the bytes are
// no such file (too short, or a length beyond what follows).
std::optional<QByteArray> ParsePasswordFile(const QByteArray& bytes);
QByteArray PasswordFileBytes(const QByteArray& password);
// Writes path whole with mode 0600, through a temporary file renamed over it.
bool WritePrivateFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

class TFileExportPassword : public QDialog
{
    Q_OBJECT
public:
    static constexpr int HelpTopic = 73;

    explicit TFileExportPassword(QWidget* owner);
    ~TFileExportPassword() override;

    // The accepted password (after OK).
    QString Password() const { return m_password; }

private:
    void LoadPasswordSettings();
    void SavePasswordSettings();
    void btnSetClick();

    QString m_password;
    QLineEdit* m_edtPassword1 = nullptr;
    QLineEdit* m_edtPassword2 = nullptr;
    QCheckBox* m_chkSavePassword = nullptr;
    QPushButton* m_btnSet = nullptr;
    QPushButton* m_btnCancel = nullptr;
};
