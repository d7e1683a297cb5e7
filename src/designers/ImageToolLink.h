// The designers' link to the picture picker program: a request to choose a picture, answered later by an event.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

class TImageToolLink : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~TImageToolLink() override = default;

    // Starts the picker when it is not running and asks it to choose; false with a message shown when it
    // cannot be reached. The answer never blocks the caller: it arrives as imageChosen.
    virtual bool RequestSelect(QWidget* owner) = 0;
    // Tells a running picker that the requesting window has closed.
    virtual void Close() = 0;

signals:
    void imageChosen(const QString& path);
};
