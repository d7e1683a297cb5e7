// The URL entry of the record's external links, and the capture of the address a browser window shows.
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class QLineEdit;
class QPushButton;

// The desktop's windows as the capture reads them.
class TWindowDirectory
{
public:
    struct TChildWindow
    {
        QString className;
        QString text;
    };
    virtual ~TWindowDirectory() = default;
    // The titles of the top-level windows, in the desktop's window order.
    virtual QStringList TopLevelTitles() const = 0;
    // The child windows of top-level window index, at every depth, in their order.
    virtual QList<TChildWindow> Children(int index) const = 0;
};

// The directory of this desktop, or null where no program can read another program's windows (as on
// Linux): the capture then finds nothing, and its buttons stay disabled.
const TWindowDirectory* SystemWindowDirectory();

// The address field text of the first browser window in window order that has one (trimmed); empty when
// none has.
QString CaptureBrowserURL(const TWindowDirectory& directory);

class TAddExtURL : public QDialog
{
    Q_OBJECT
public:
    explicit TAddExtURL(QWidget* owner, const TWindowDirectory* directory = SystemWindowDirectory());

    // The URL as entered, trimmed.
    QString GetURL() const;

    void btnAddClick();
    void bbtnGetURLClick();

private:
    const TWindowDirectory* m_directory;
    QLineEdit* edtURL;
    QPushButton* btnAdd;
    QPushButton* btnCancel;
    QPushButton* bbtnGetURL;
};
