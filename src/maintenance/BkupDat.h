// The backup wizard: destination, needed size and free space, and the result of the copy, group by group.
#pragma once

#include "maintenance/BackupLayout.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTreeWidget;

// Parts shared by the backup and restore wizards.
namespace CopyWizard {
// A page of the wizard's stack with its headings.
QWidget* MakePage(QStackedWidget* pages, const char* name, const QStringList& headings);
// A sunken panel that shows a folder or a size.
QLabel* MakePanel(QWidget* parent, const char* name);
// The line "必要なサイズ：" with the two sizes in KB and the red note below.
QWidget* MakeSizeRow(QWidget* parent, QLabel* needSize, QLabel* freeSize);
// The result list (columns "ファイル", "成否", "要因").
QTreeWidget* MakeResultList(QWidget* parent);
void FillResultList(QTreeWidget* list, const TCopyReport& report);
// The free-space panel: its KB or "--- " when unknown.
QString FreeSizeText(const std::optional<TDiskSpace>& space);
} // namespace CopyWizard

class TBackupData : public QDialog
{
    Q_OBJECT
public:
    // keywordNames: the user's names of the eight keyword items (the last three name history files).
    TBackupData(QWidget* owner, const QStringList& keywordNames);

    void MeasureBackup();
    QString Destination() const { return m_dest; }
    qint64 NeedSize() const { return m_needSize; }
    const TCopyReport& Report() const { return m_report; }

    void btnNextClick();
    void btnPriorClick();
    void btnBackupClick();
    void bbtnBrowseDestClick();

private:
    void FormCreate();
    void showPage(int page);
    void focusDest();

    QString m_source;
    QString m_dest;
    QStringList m_historyLabels;
    qint64 m_clusterSize = 0;
    qint64 m_needSize = 0;
    qint64 m_freeSize = 0;
    TCopyReport m_report;

    QStackedWidget* m_pages = nullptr;
    QLineEdit* edtDest = nullptr;
    QPushButton* bbtnBrowseDest = nullptr;
    QLabel* pnlConfirmationDest = nullptr;
    QLabel* pnlNeedSize = nullptr;
    QLabel* pnlFreeSize = nullptr;
    QTreeWidget* lvResult = nullptr;
    QPushButton* btnPrior = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnBackup = nullptr;
    QPushButton* btnCancel = nullptr;
    QPushButton* btnClose = nullptr;
};
