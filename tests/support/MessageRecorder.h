// Test double for the message seam: records every box and answers from a script.
#pragma once

#include "platform/MessageSeam.h"

#include <QList>
#include <QString>

class MessageRecorder
{
public:
    // Installs itself for its lifetime; a message with no scripted answer left fails the test and answers
    // the box's first button.
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Queues the answer to the next message.
    MessageRecorder& answer(int id);
    // Lets any number of further messages through with their first button, without failing.
    void allowUnexpected(bool allow = true) { m_allowUnexpected = allow; }

    const QList<MsgSeam::Request>& messages() const { return m_messages; }
    int count() const { return int(m_messages.size()); }
    const MsgSeam::Request& last() const { return m_messages.last(); }
    int pendingAnswers() const { return int(m_answers.size()); }

private:
    int handle(const MsgSeam::Request& request);

    QList<MsgSeam::Request> m_messages;
    QList<int> m_answers;
    bool m_allowUnexpected = false;
    MsgSeam::Handler m_previous;
};
