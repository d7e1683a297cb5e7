// Message seam recorder for tests.
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>

MessageRecorder::MessageRecorder()
{
    m_previous = MsgSeam::SetHandler([this](const MsgSeam::Request& r) { return handle(r); });
}

MessageRecorder::~MessageRecorder()
{
    MsgSeam::SetHandler(std::move(m_previous));
}

MessageRecorder& MessageRecorder::answer(int id)
{
    m_answers.append(id);
    return *this;
}

int MessageRecorder::handle(const MsgSeam::Request& request)
{
    m_messages.append(request);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (!m_allowUnexpected)
        ADD_FAILURE() << "unexpected message: " << request.text.toStdString();
    switch (request.flags & 0x0F) {
    case MsgSeam::MbYesNo:
    case MsgSeam::MbYesNoCancel:
        return MsgSeam::IdYes;
    default:
        return MsgSeam::IdOk;
    }
}
