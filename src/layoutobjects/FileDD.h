// The drop target of a designer's paper panel: files dragged onto the panel are handed to the owner as
// paths, text as trimmed text.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

// What a drag offers, in the order of preference: local files first, then text.
enum class TDropFormat { None, Files, Text };
TDropFormat DropFormatOf(const QMimeData* data);
// The local file paths of the data, in the order given.
QStringList DroppedPaths(const QMimeData* data);
// The text of the data without leading and trailing blanks and control characters.
QString DroppedText(const QMimeData* data);

class TFileDD : public QObject
{
public:
    // Files: the paths, keyboard modifiers, the drop point in screen coordinates and the effect told to the
    // drag source (copy unless the handler changes it).
    using FilesHandler = std::function<void(const QStringList& paths, Qt::KeyboardModifiers keys,
                                            QPoint point, Qt::DropAction& effect)>;
    using TextHandler = std::function<void(const QString& text, Qt::KeyboardModifiers keys, QPoint point,
                                           Qt::DropAction& effect)>;

    // Makes panel accept drops (none: a target that accepts nothing).
    explicit TFileDD(QWidget* panel, QObject* parent = nullptr);
    ~TFileDD() override;

    // Stops accepting drops; a second call does nothing.
    void RevokeDropTarget();
    bool Registered() const { return m_panel != nullptr; }

    FilesHandler OnDropFiles;
    TextHandler OnDropText;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_panel;
    TDropFormat m_format = TDropFormat::None;
};
