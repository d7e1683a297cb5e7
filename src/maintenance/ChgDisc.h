// The dialog that asks for the drive holding the product disc.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

class TChangeDisc : public QDialog
{
public:
    explicit TChangeDisc(QWidget* owner);

    // The drive to preselect (the first drive of DriveList until set).
    void SetDrive(const QString& drive) { m_drive = drive; }
    // The chosen drive after OK.
    const QString& Drive() const { return m_drive; }
    void SetMessage(const QString& text);

    // Lists the disc drives again, choosing the preselected one.
    void bbtnUpdateClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void btnOkClick();

    QString m_drive;
    bool m_cdFrame = false;
    QLabel* lblMsg;
    QLabel* imgCD;
    QComboBox* cbxCD;
    QPushButton* bbtnUpdate;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QTimer* tmrReload;
};
