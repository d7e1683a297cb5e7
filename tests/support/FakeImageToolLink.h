// A scripted picture picker link: records requests and closes, answers requests as told, and sends
// answers on demand.
#pragma once

#include "designers/ImageToolLink.h"

#include <QPointer>
#include <QWidget>

class FakeImageToolLink : public TImageToolLink
{
public:
    using TImageToolLink::TImageToolLink;

    bool RequestSelect(QWidget* owner) override
    {
        ++Requests;
        LastOwner = owner;
        return Reachable;
    }
    void Close() override { ++Closes; }

    // The picker's answer, as an event of the link.
    void Answer(const QString& path) { emit imageChosen(path); }

    bool Reachable = true;
    int Requests = 0;
    int Closes = 0;
    QPointer<QWidget> LastOwner;
};
