// The help driver: the operating guide (one PDF) opened in a PDF viewer at the page of a help context, and
// the F1 key that asks for it.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

// Help contexts of windows and controls: F1 asks for the nearest one up the parent chain.
void SetHelpContext(QWidget* widget, int context);
int HelpContextOf(const QWidget* widget);

// How one viewer is started: its program and its arguments for a page and for a named destination, with
// %f the document, %p the page (counted from 1) and %d the destination.
struct TViewerCommand
{
    QString program;
    QStringList pageArgs;
    QStringList destArgs;
};

class TPDFHelp
{
public:
    // Error codes kept in LastError.
    enum {
        heNotLocated = 1,
        heOk = 0,
        heNoReader = 101,
        heOldReader = 102,
        heNoDocument = 201,
        heStartFailed = 301,
        heTimeout = 302,
        heCommandFailed = 303
    };

    using Launcher = std::function<bool(const QString& program, const QStringList& arguments)>;

    TPDFHelp();

    // Finds the first installed viewer of the known ones, else the desktop's opener (xdg-open).
    void LocateReader();
    // Uses command as the viewer (found or not).
    void SetViewer(const TViewerCommand& command);
    const TViewerCommand& Viewer() const { return m_viewer; }
    // What starts the viewer; the default starts it detached, without a shell.
    void SetLauncher(Launcher launcher) { m_launcher = std::move(launcher); }

    void SetDocument(const QString& path);
    const QString& Document() const { return m_document; }
    void SetTitle(const QString& title) { m_title = title; }
    void SetPageOffsetEnabled(bool on) { m_pageOffsetOn = on; }
    void SetPageOffset(int offset) { m_pageOffset = offset; }

    // Shows page (0 the first), shifted by the page offset when that is on and page > 0.
    void ShowPage(int page);
    // Shows the document at a page (0 the first) or a named destination (the destination wins).
    void OpenDocumentAt(std::optional<int> page, const QString& destination = QString());
    // The viewer is a program of the user's own; its document stays open when this program ends.
    void CloseDocument() {}

    bool NotAvailable() const { return m_notAvailable; }
    int LastError() const { return m_lastError; }
    const QString& ErrorText() const { return m_errorText; }

    // The arguments of command for a document and a page (from 0) or a destination.
    static QStringList ArgumentsFor(const TViewerCommand& command, const QString& document,
                                    std::optional<int> page, const QString& destination);

private:
    TViewerCommand m_viewer;
    Launcher m_launcher;
    bool m_notAvailable = true;
    int m_lastError = heNotLocated;
    QString m_errorText;
    QString m_document;
    QString m_title;
    bool m_pageOffsetOn = false;
    int m_pageOffset = 0;
};

// Turns F1 anywhere in the program into a help request for the focused widget's help context.
class THelpKeyFilter : public QObject
{
public:
    using Handler = std::function<bool(int context)>;
    THelpKeyFilter(Handler handler, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};
