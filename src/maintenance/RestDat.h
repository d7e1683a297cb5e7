// The restore wizard: source and destination, needed size and free space, the restore's result, and the
// switch of the data folder to the restored one.
#pragma once

#include "maintenance/BackupLayout.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;

class TRestoreData : public QDialog
{
    Q_OBJECT
public:
    // closeChildWindows: closes the windows that work on tables; false when one stays open.
    TRestoreData(QWidget* owner, const QStringList& keywordNames, std::function<bool()> closeChildWindows);

    bool ChangeDataPathChecked() const;
    QString Source() const { return m_source; }
    QString Destination() const { return m_dest; }
    QStringList Books() const { return m_books; }
    qint64 NeedSize() const { return m_needSize; }
    const TCopyReport& Report() const { return m_report; }

    void btnNextClick();
    void btnPriorClick();
    void btnRestoreClick();
    void btnCloseClick();
    void bbtnBrowseClick(int tag);
    void rbDataPathClick();

private:
    void showPage(int page);
    void measure(const std::optional<TDiskSpace>& space);

    std::function<bool()> m_closeChildWindows;
    QStringList m_historyLabels;
    QString m_source;
    QString m_dest;
    QStringList m_books;
    qint64 m_needSize = 0;
    qint64 m_freeSize = 0;
    TCopyReport m_report;

    QStackedWidget* m_pages = nullptr;
    QLineEdit* edtSrc = nullptr;
    QLineEdit* edtDest = nullptr;
    QPushButton* bbtnBrowseSrc = nullptr;
    QPushButton* bbtnBrowseDest = nullptr;
    QRadioButton* rbNowDataPath = nullptr;
    QRadioButton* rbSelectDataPath = nullptr;
    QLabel* pnlConfirmationSrc = nullptr;
    QLabel* pnlConfirmationDest = nullptr;
    QLabel* pnlNeedSize = nullptr;
    QLabel* pnlFreeSize = nullptr;
    QTreeWidget* lvResult = nullptr;
    QCheckBox* chkChangeDataPath = nullptr;
    QPushButton* btnPrior = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnRestore = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnClose = nullptr;
};
