// The administrator mode prompt and its password check.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

enum class TAdminPasswordCheck { Match, Mismatch, Unreadable };
// Compares the typed password (blanks at its ends ignored, letter case counting) with the stored one
// deciphered under AdminPasswordKey, in time independent of where they differ. No stored password takes an
// empty input. Unreadable when the stored password does not decipher.
TAdminPasswordCheck CheckAdminPassword(const QString& typed, const QString& stored);

class TSwitchAdminMode : public QDialog
{
public:
    explicit TSwitchAdminMode(QWidget* owner);

    void btnSwitchClick();

private:
    QLineEdit* edtPassword;
    QPushButton* btnSwitch;
    QPushButton* btnCancel;
};
