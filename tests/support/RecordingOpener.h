// A shell opener for tests that records every request and opens nothing.
#pragma once

#include "core/ShellSub.h"

#include <QList>

class RecordingOpener : public TShellOpener
{
public:
    explicit RecordingOpener(QList<TShellOpenRequest>* log) : m_log(log) {}
    int Open(const TShellOpenRequest& request) override
    {
        m_log->append(request);
        return 0;
    }

private:
    QList<TShellOpenRequest>* m_log;
};
