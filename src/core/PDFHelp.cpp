// The help driver over a PDF viewer started with the document and the page.
#include "core/PDFHelp.h"

#include "core/MsgBoxPos.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

namespace {

const char* const HelpContextProperty = "helpContext";

// Viewers that open a document at a given page, in order of preference.
const QList<TViewerCommand>& knownViewers()
{
    static const QList<TViewerCommand> viewers = {
        {QStringLiteral("okular"),
         {QStringLiteral("-p"), QStringLiteral("%p"), QStringLiteral("%f")},
         {QStringLiteral("%f")}},
        {QStringLiteral("evince"),
         {QStringLiteral("--page-index=%p"), QStringLiteral("%f")},
         {QStringLiteral("--named-dest=%d"), QStringLiteral("%f")}},
        {QStringLiteral("atril"),
         {QStringLiteral("--page-index=%p"), QStringLiteral("%f")},
         {QStringLiteral("--named-dest=%d"), QStringLiteral("%f")}},
        {QStringLiteral("zathura"),
         {QStringLiteral("--page=%p"), QStringLiteral("%f")},
         {QStringLiteral("%f")}},
        {QStringLiteral("qpdfview"),
         {QStringLiteral("--unique"), QStringLiteral("%f#%p")},
         {QStringLiteral("%f")}},
        {QStringLiteral("mupdf"), {QStringLiteral("%f"), QStringLiteral("%p")}, {QStringLiteral("%f")}},
    };
    return viewers;
}

// The desktop's opener: no page, but the document opens.
const TViewerCommand DesktopOpener{
    QStringLiteral("xdg-open"), {QStringLiteral("%f")}, {QStringLiteral("%f")}};

} // namespace

void SetHelpContext(QWidget* widget, int context)
{
    if (widget)
        widget->setProperty(HelpContextProperty, context);
}

int HelpContextOf(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const int context = w->property(HelpContextProperty).toInt();
        if (context > 0)
            return context;
    }
    return 0;
}

TPDFHelp::TPDFHelp()
    : m_launcher([](const QString& program, const QStringList& arguments) {
          return QProcess::startDetached(program, arguments);
      })
{
}

void TPDFHelp::LocateReader()
{
    for (const TViewerCommand& viewer : knownViewers()) {
        const QString path = QStandardPaths::findExecutable(viewer.program);
        if (!path.isEmpty()) {
            SetViewer({path, viewer.pageArgs, viewer.destArgs});
            return;
        }
    }
    const QString opener = QStandardPaths::findExecutable(DesktopOpener.program);
    if (!opener.isEmpty()) {
        SetViewer({opener, DesktopOpener.pageArgs, DesktopOpener.destArgs});
        return;
    }
    m_viewer = TViewerCommand();
    m_notAvailable = true;
    m_lastError = heNoReader;
    m_errorText = QStringLiteral("PDF ビューアーがインストールされていません  ");
}

void TPDFHelp::SetViewer(const TViewerCommand& command)
{
    m_viewer = command;
    m_notAvailable = false;
    m_lastError = heOk;
    m_errorText.clear();
}

void TPDFHelp::SetDocument(const QString& path)
{
    m_document = QFileInfo(path).isFile() ? path : QString();
}

void TPDFHelp::ShowPage(int page)
{
    if (m_pageOffsetOn && page > 0)
        page += m_pageOffset;
    OpenDocumentAt(page);
}

QStringList TPDFHelp::ArgumentsFor(const TViewerCommand& command, const QString& document,
                                   std::optional<int> page, const QString& destination)
{
    const bool byDestination = !destination.isEmpty();
    QStringList arguments;
    for (QString arg : byDestination ? command.destArgs : command.pageArgs) {
        arg.replace(QLatin1String("%p"), QString::number(page.value_or(0) + 1));
        arg.replace(QLatin1String("%d"), destination);
        arg.replace(QLatin1String("%f"), document);
        arguments.append(arg);
    }
    return arguments;
}

void TPDFHelp::OpenDocumentAt(std::optional<int> page, const QString& destination)
{
    if (m_document.isEmpty() || !QFileInfo(m_document).isFile()) {
        m_lastError = heNoDocument;
        m_errorText = QStringLiteral("『") + m_title + QStringLiteral("』が見つかりません  ");
        MessageBoxPos(nullptr, m_errorText, ProductTitle, MsgSeam::MbIconStop, 2);
        return;
    }
    if (m_viewer.program.isEmpty() ||
        !m_launcher(m_viewer.program, ArgumentsFor(m_viewer, m_document, page, destination))) {
        m_lastError = heStartFailed;
        m_errorText = QStringLiteral("PDFファイルの呼び出しができませんでした  \r\nRC = 301  ");
        return;
    }
    m_lastError = heOk;
    m_errorText.clear();
}

THelpKeyFilter::THelpKeyFilter(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
}

bool THelpKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        !static_cast<QKeyEvent*>(event)->isAutoRepeat() && watched->isWidgetType()) {
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = static_cast<QWidget*>(watched);
        // The key reaches every widget up the chain; answer it once, where it arrives first.
        if (target && target->window() == static_cast<QWidget*>(watched)->window()) {
            const int context = HelpContextOf(target);
            if (context > 0) {
                m_handler(context);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
