#include "links/Automation.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QTimer>

namespace {

QHash<QString, TAutomationFactory>& classes()
{
    static QHash<QString, TAutomationFactory> table;
    return table;
}

class TNoWindows : public TOutsideWindows
{
public:
    bool Exists(qint64) const override { return false; }
    void BringToFront(qint64) override {}
    qint64 FindByTitle(const QString&) const override { return 0; }
};

std::unique_ptr<TOutsideWindows>& windowsLayer()
{
    static std::unique_ptr<TOutsideWindows> layer = std::make_unique<TNoWindows>();
    return layer;
}

} // namespace

void RegisterAutomationClass(const QString& id, TAutomationFactory factory)
{
    if (factory)
        classes().insert(id.toLower(), std::move(factory));
    else
        classes().remove(id.toLower());
}

std::shared_ptr<TAutomationObject> CreateAutomationObject(const QString& id)
{
    const auto it = classes().constFind(id.toLower());
    if (it == classes().constEnd())
        return nullptr;
    try {
        return (*it)();
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::unique_ptr<TOutsideWindows> SetOutsideWindows(std::unique_ptr<TOutsideWindows> windows)
{
    std::unique_ptr<TOutsideWindows> previous = std::move(windowsLayer());
    windowsLayer() = windows ? std::move(windows) : std::make_unique<TNoWindows>();
    return previous;
}

TOutsideWindows& OutsideWindows()
{
    return *windowsLayer();
}

QEvent::Type TWindowMessageEvent::eventType()
{
    static const auto type = QEvent::Type(QEvent::registerEventType());
    return type;
}

bool WaitWhilePumping(const std::function<bool()>& stop, int interval, int timeout)
{
    if (stop())
        return true;
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    bool stopped = false;
    QTimer tick;
    tick.setInterval(interval);
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (stop()) {
            stopped = true;
            loop.quit();
        } else if (timeout >= 0 && elapsed.elapsed() >= timeout) {
            loop.quit();
        }
    });
    tick.start();
    loop.exec();
    return stopped;
}
