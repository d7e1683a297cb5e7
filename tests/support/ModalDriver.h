// Drives modal windows in tests: polls QApplication::activeModalWidget() and runs the next handler queued for
// that window's object name, once per appearance; a modal window nobody handles is closed after a while.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

class ModalDriver : public QObject
{
public:
    using Handler = std::function<void(QWidget*)>;
    using Ready = std::function<bool(QWidget*)>;

    ModalDriver()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
        m_timer.start(5);
    }
    ~ModalDriver() override
    {
        for (auto it = m_handlers.cbegin(); it != m_handlers.cend(); ++it)
            EXPECT_TRUE(it.value().isEmpty()) << "no modal window " << it.key().toStdString() << " came up";
    }

    // Queues handler for the next appearance of a modal window named name; ready (when given) must answer
    // true before it runs. The handler runs from the event loop, so it may open further modal windows.
    ModalDriver& on(const QString& name, Handler handler, Ready ready = {})
    {
        m_handlers[name].append({std::move(handler), std::move(ready)});
        return *this;
    }
    int handled() const { return m_handled; }

private:
    struct Entry
    {
        Handler handler;
        Ready ready;
    };

    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == m_last) {
            m_idle = 0;
            return;
        }
        QList<Entry>& queue = m_handlers[modal->objectName()];
        if (queue.isEmpty() || (queue.first().ready && !queue.first().ready(modal))) {
            if (++m_idle > 2000) {
                ADD_FAILURE() << "modal window " << modal->objectName().toStdString() << " left unhandled";
                m_idle = 0;
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->QDialog::done(QDialog::Rejected);
            }
            return;
        }
        m_idle = 0;
        m_last = modal;
        ++m_handled;
        Handler handler = queue.takeFirst().handler;
        QPointer<QWidget> target(modal);
        QTimer::singleShot(0, this, [handler, target] {
            if (target)
                handler(target);
        });
    }

    QTimer m_timer;
    QHash<QString, QList<Entry>> m_handlers;
    QPointer<QWidget> m_last;
    int m_idle = 0;
    int m_handled = 0;
};
