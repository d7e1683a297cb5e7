// Frame classes by name, each with its setters callable by name with JSON arguments (the layout scenes of
// the developer tools).
#pragma once

#include "layoutobjects/DrawRect.h"

#include <QJsonArray>
#include <QMap>
#include <QString>

#include <functional>
#include <memory>
#include <stdexcept>

// A scene that names an unknown class or setter, or passes arguments a setter cannot take.
class ESceneError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

using TFrameSetter = std::function<void(TDrawRect& frame, const QJsonArray& arguments)>;

struct TFrameClassInfo
{
    QString name;
    std::function<std::unique_ptr<TDrawRect>()> create;
    QMap<QString, TFrameSetter> setters;
};

// The frame classes that can be created by name.
const QList<TFrameClassInfo>& FrameClasses();
const TFrameClassInfo* FindFrameClass(const QString& name);
