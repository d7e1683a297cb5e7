// Scroll box that never scrolls by itself to show the control that takes the focus.
#pragma once

#include <QScrollArea>

class TLimitedScrollBox : public QScrollArea
{
    Q_OBJECT
public:
    explicit TLimitedScrollBox(QWidget* parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
};
