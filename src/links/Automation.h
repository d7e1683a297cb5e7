// Late-bound automation of outside programs: objects created by ProgID or class id from a table of
// in-process factories, members called by name; the programs' top-level windows; and the window messages
// the programs post back.
#pragma once

#include <QEvent>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <stdexcept>

// What a member call raises (the program is gone, still starting, or refuses the call).
class EAutomationError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

class TAutomationObject
{
public:
    virtual ~TAutomationObject() = default;
    // Calls method name, or reads property name (an indexed one with the index in args); raises
    // EAutomationError.
    virtual QVariant invoke(const QString& name, const QVariantList& args = {}) = 0;
    // Sets property name; raises EAutomationError.
    virtual void put(const QString& name, const QVariant& value) = 0;
    // Calls a member that writes into its arguments (by reference): args holds the values written back
    // afterwards. Objects without such members call invoke and leave args as they are.
    virtual QVariant invokeByRef(const QString& name, QVariantList& args) { return invoke(name, args); }
    // Sets the element index of the indexed property name; raises EAutomationError (also when the object has
    // no indexed properties).
    virtual void putIndexed(const QString& name, const QVariant& index, const QVariant& value)
    {
        (void)index;
        (void)value;
        throw EAutomationError(name.toStdString() + " is not an indexed property");
    }
};

// An object a member answers travels in the answer's QVariant.
Q_DECLARE_METATYPE(std::shared_ptr<TAutomationObject>)
inline QVariant AutomationValue(std::shared_ptr<TAutomationObject> object)
{
    return QVariant::fromValue(std::move(object));
}
// The object an answer holds; null when it holds none.
inline std::shared_ptr<TAutomationObject> AutomationObjectOf(const QVariant& value)
{
    return value.canConvert<std::shared_ptr<TAutomationObject>>()
               ? value.value<std::shared_ptr<TAutomationObject>>()
               : nullptr;
}

// Makes an object; null when it cannot be created.
using TAutomationFactory = std::function<std::shared_ptr<TAutomationObject>()>;
// Registers (an empty factory removes) the class of a ProgID or a class id ("{...}", compared without
// case). The program registers none of its own.
void RegisterAutomationClass(const QString& id, TAutomationFactory factory);
// A new object of the class id names; null when no class is registered or the factory fails.
std::shared_ptr<TAutomationObject> CreateAutomationObject(const QString& id);

// The outside programs' top-level windows, by the handles their objects answer.
class TOutsideWindows
{
public:
    virtual ~TOutsideWindows() = default;
    virtual bool Exists(qint64 handle) const = 0;
    // Activates the window and brings it to the front.
    virtual void BringToFront(qint64 handle) = 0;
    // The first window whose title contains text; 0 when none.
    virtual qint64 FindByTitle(const QString& text) const = 0;
};
// Installs windows in place of the current layer (null restores the default, which knows no window);
// answers the previous one.
std::unique_ptr<TOutsideWindows> SetOutsideWindows(std::unique_ptr<TOutsideWindows> windows);
TOutsideWindows& OutsideWindows();

// A window message an outside program posts to a window of ours (SetEventWindow and the like).
class TWindowMessageEvent : public QEvent
{
public:
    explicit TWindowMessageEvent(int message) : QEvent(eventType()), m_message(message) {}
    int message() const { return m_message; }
    static QEvent::Type eventType();

private:
    int m_message;
};

// Runs a local event loop until stop answers true or timeout (milliseconds, negative = none) passed,
// checking every interval milliseconds; true when stop answered true.
bool WaitWhilePumping(const std::function<bool()>& stop, int interval, int timeout);
