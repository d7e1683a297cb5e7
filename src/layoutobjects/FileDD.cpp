// Drop target: the format chosen at drag entry, and the paths or text handed over at the drop.
#include "layoutobjects/FileDD.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

bool isLocalFile(const QUrl& url)
{
    return url.isLocalFile() && !url.toLocalFile().isEmpty();
}

} // namespace

TDropFormat DropFormatOf(const QMimeData* data)
{
    if (!data)
        return TDropFormat::None;
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        if (std::any_of(urls.begin(), urls.end(), isLocalFile))
            return TDropFormat::Files;
    }
    return data->hasText() ? TDropFormat::Text : TDropFormat::None;
}

QStringList DroppedPaths(const QMimeData* data)
{
    QStringList paths;
    if (!data)
        return paths;
    for (const QUrl& url : data->urls())
        if (isLocalFile(url))
            paths.append(url.toLocalFile());
    return paths;
}

QString DroppedText(const QMimeData* data)
{
    if (!data)
        return {};
    const QString text = data->text();
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) <= u' ')
        ++first;
    while (last > first && text.at(last - 1) <= u' ')
        --last;
    return text.mid(first, last - first);
}

TFileDD::TFileDD(QWidget* panel, QObject* parent) : QObject(parent), m_panel(panel)
{
    if (!panel)
        return;
    panel->setAcceptDrops(true);
    panel->installEventFilter(this);
}

TFileDD::~TFileDD()
{
    RevokeDropTarget();
}

void TFileDD::RevokeDropTarget()
{
    if (!m_panel)
        return;
    m_panel->setAcceptDrops(false);
    m_panel->removeEventFilter(this);
    m_panel = nullptr;
    m_format = TDropFormat::None;
}

bool TFileDD::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_panel)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* e = static_cast<QDragEnterEvent*>(event);
        m_format = DropFormatOf(e->mimeData());
        if (m_format == TDropFormat::None) {
            e->ignore();
        } else {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        }
        return true;
    }
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        if (m_format == TDropFormat::None) {
            e->ignore();
        } else {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        }
        return true;
    }
    case QEvent::DragLeave:
        m_format = TDropFormat::None;
        return true;
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const TDropFormat format = m_format;
        m_format = TDropFormat::None;
        if (format == TDropFormat::None) {
            e->ignore();
            return true;
        }
        Qt::DropAction effect = Qt::CopyAction;
        const QPoint point = m_panel->mapToGlobal(e->position().toPoint());
        if (format == TDropFormat::Files) {
            if (OnDropFiles)
                OnDropFiles(DroppedPaths(e->mimeData()), e->modifiers(), point, effect);
        } else if (OnDropText) {
            OnDropText(DroppedText(e->mimeData()), e->modifiers(), point, effect);
        }
        e->setDropAction(effect);
        e->accept();
        return true;
    }
    default:
        return false;
    }
}
