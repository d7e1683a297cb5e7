// Drives modal windows in tests by polling QApplication::activeModalWidget(); a window left open is closed
// after a while and the test fails, so that nothing hangs on a dialog.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

// How long a modal window may stay unhandled, or open after its last handler, before it is closed.
inline constexpr qint64 ModalGuardMs = 10000;

// Closes a modal window that nobody closed: a dialog is rejected past any override that could refuse.
inline void CloseLeftModal(QWidget* modal)
{
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->QDialog::done(QDialog::Rejected);
        return;
    }
    modal->close();
    if (modal->isVisible())
        modal->hide();
}

// Runs a queued handler on each appearance of a modal window, matched by object name or by class. Handlers
// run from the event loop, so they may open further modal windows.
class ModalDriver : public QObject
{
public:
    using Handler = std::function<void(QWidget*)>;
    using Ready = std::function<bool(QWidget*)>;

    ModalDriver()
    {
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::poll);
        m_timer.start(5);
        m_since.start();
    }
    ~ModalDriver() override
    {
        for (const Entry& e : m_entries)
            EXPECT_FALSE(e.required) << "no modal window " << e.what.toStdString() << " came up";
    }

    // Queues handler for the next appearance of a modal window named name; ready (when given) must answer
    // true before it runs.
    ModalDriver& on(const QString& name, Handler handler, Ready ready = {})
    {
        m_entries.append({name, [name](QWidget* w) { return w->objectName() == name; }, std::move(handler),
                          std::move(ready), true});
        return *this;
    }
    // Like on(), for a window that may not come up at all.
    ModalDriver& maybe(const QString& name, Handler handler)
    {
        on(name, std::move(handler));
        m_entries.last().required = false;
        return *this;
    }
    // Queues handler for the next modal window of class T (for dialogs without an object name).
    template <typename T> ModalDriver& on(std::function<void(T*)> handler)
    {
        m_entries.append({QString::fromLatin1(T::staticMetaObject.className()),
                          [](QWidget* w) { return qobject_cast<T*>(w) != nullptr; },
                          [handler = std::move(handler)](QWidget* w) { handler(static_cast<T*>(w)); },
                          {},
                          true});
        return *this;
    }
    int handled() const { return m_handled; }

private:
    struct Entry
    {
        QString what;
        std::function<bool(QWidget*)> matches;
        Handler handler;
        Ready ready;
        bool required;
    };

    void poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != m_current) {
            m_current = modal;
            m_since.restart();
        }
        if (!modal)
            return;
        if (modal != m_last) {
            for (qsizetype i = 0; i < m_entries.size(); ++i) {
                if (!m_entries[i].matches(modal))
                    continue;
                if (m_entries[i].ready && !m_entries[i].ready(modal))
                    break;
                m_last = modal;
                m_since.restart();
                ++m_handled;
                Handler handler = m_entries.takeAt(i).handler;
                QPointer<QWidget> target(modal);
                QTimer::singleShot(0, this, [this, handler, target] {
                    if (!target)
                        return;
                    m_running.append(target);
                    handler(target);
                    m_running.removeOne(target);
                    m_since.restart();
                });
                return;
            }
        }
        // A window whose handler still runs (a long session body) is not left open.
        if (m_since.elapsed() > ModalGuardMs && !m_running.contains(modal)) {
            ADD_FAILURE() << "modal window " << modal->objectName().toStdString() << " ("
                          << modal->metaObject()->className() << ") "
                          << (modal == m_last ? "stayed open after its handler" : "left unhandled");
            m_since.restart();
            CloseLeftModal(modal);
        }
    }

    QTimer m_timer;
    QElapsedTimer m_since;
    QList<Entry> m_entries;
    QPointer<QWidget> m_current;
    QPointer<QWidget> m_last;
    QList<QPointer<QWidget>> m_running;
    int m_handled = 0;
};

// Runs dialog.exec(); each step runs in turn, one per poll, while the dialog is the active modal window. A
// dialog still open a while after the last step (or never reached), or another modal window left open over
// it, is closed and the test fails.
inline int RunModal(QDialog& dialog, QList<std::function<void()>> steps)
{
    QTimer poll;
    QElapsedTimer since;
    since.start();
    bool inStep = false;
    QObject::connect(&poll, &QTimer::timeout, &dialog, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        // A step runs from the event loop, so that this guard keeps polling while the step waits on another
        // modal window; a step's own event loop must not start the next step.
        if (!inStep && modal == &dialog && !steps.isEmpty()) {
            inStep = true;
            QTimer::singleShot(0, &poll, [&] {
                steps.takeFirst()();
                inStep = false;
                since.restart();
            });
            return;
        }
        if (since.elapsed() <= ModalGuardMs)
            return;
        since.restart();
        if (modal && modal != &dialog) {
            ADD_FAILURE() << "modal window " << modal->objectName().toStdString()
                          << " left open over the dialog";
            CloseLeftModal(modal);
            return;
        }
        ADD_FAILURE() << (steps.isEmpty() ? "the dialog stayed open after the last step"
                                          : "the dialog never became the active modal window");
        poll.stop();
        dialog.QDialog::done(QDialog::Rejected);
    });
    poll.start(5);
    return dialog.exec();
}

// Runs dialog.exec() and acts once on it when it is the active modal window.
inline int RunModal(QDialog& dialog, const std::function<void(QDialog&)>& act)
{
    return RunModal(dialog, QList<std::function<void()>>{[&] { act(dialog); }});
}
