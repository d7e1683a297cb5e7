// The designers' start menu and the open and save dialogs of their print files, with the listing of a kind's
// files by signature and the preview picture stored in them.
#pragma once

#include <QDate>
#include <QDialog>
#include <QImage>

#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

// The print files of one kind: 0 address side, 1 label, 2 card, 3 message side.
struct TPrintFileKind
{
    QString Folder;
    QString Extension; // ".gpl"
    QByteArray Signature;
    int HeaderLength = 0;
    int HelpContext = 0; // 0: left to the paper kind
};
TPrintFileKind PrintFileKind(int kind);

struct TPrintFileEntry
{
    QString Title;
    QDate Date;
};

// Files of the folder whose extension matches in any letter case and whose complemented signature is the
// kind's, sorted by path ignoring case. A file shorter than its signature is not listed.
std::vector<TPrintFileEntry> ListPrintFiles(const TPrintFileKind& kind);
// The JPEG stored after the signature, version and header; empty when a length runs past the file.
QByteArray ReadPrintFilePreview(const QString& path, int signatureLength, int headerLength);

// Titles: the forbidden characters and their message, and the cut to 100 bytes.
bool HasForbiddenTitleChar(const QString& title);
QString ForbiddenTitleMessage();
QString CutTitle(const QString& title);

// The start menu: new, open or the last file.
class TPrintMenuDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TPrintMenuDialog(QWidget* owner);
    void SetDocumentKind(int kind);
    void SetChoice(int choice);
    int GetChoice() const;
    bool GetShowNextTime() const;
    int HelpContext() const { return 76; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintChoices();

    QRadioButton* rbNew;
    QRadioButton* rbOpen;
    QRadioButton* rbContinue;
    QCheckBox* ckbShowMenu;
    QPushButton* m_ok;
};

// What the open and save dialogs share: the file list, rename and delete.
class TPrintDataDialog : public QDialog
{
    Q_OBJECT
public:
    void SetFileKind(int kind);
    void SetPaperKind(int paperKind);
    int HelpContext() const { return m_helpContext; }
    // Set when a file was renamed or deleted.
    bool FilesChanged = false;

protected:
    TPrintDataDialog(QWidget* owner, const QString& caption);
    void ListFiles();
    QString FilePath(const QString& title) const;
    QString EntryTitle(const QTreeWidgetItem* item) const;
    // Selects, focuses and scrolls to the entries with that exact title (only the first when firstOnly).
    void SelectTitle(const QString& title, bool firstOnly);
    void EnableFileButtons(const QTreeWidgetItem* item);
    virtual void SelectionChanged() = 0;
    bool eventFilter(QObject* watched, QEvent* event) override;

    QTreeWidget* lvFile;
    QPushButton* sbtnDelete;
    QPushButton* sbtnRename;
    QPushButton* m_ok;
    QString m_currentTitle;
    TPrintFileKind m_kind;
    bool m_enterMovesToOk = false;

private:
    void pmiDeleteClick();
    void pmiRenameClick();
    void lvFileEdited(QTreeWidgetItem* item);
    void startEditing(QTreeWidgetItem* item);

    QMenu* m_popup;
    int m_helpContext = 0;
    bool m_filling = false;
    bool m_editing = false;
};

class TPrintDataOpenDialog : public TPrintDataDialog
{
    Q_OBJECT
public:
    explicit TPrintDataOpenDialog(QWidget* owner);
    void SetCurrentFile(const QString& title);
    QString GetFileTitle() const;
    const QImage& Preview() const { return m_preview; }

protected:
    void showEvent(QShowEvent* event) override;
    void SelectionChanged() override;
    void accept() override;

private:
    class TPreviewBox;
    QImage m_preview;
    QWidget* m_panel;
    TPreviewBox* m_paintBox;
};

class TPrintDataSaveDialog : public TPrintDataDialog
{
    Q_OBJECT
public:
    explicit TPrintDataSaveDialog(QWidget* owner);
    void SetCurrentFile(const QString& title);
    QString GetFileTitle() const;

protected:
    void SelectionChanged() override;
    void accept() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* edTitle;
};
