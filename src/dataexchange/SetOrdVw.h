// The dialog "セットした内容": the nine parts of one import item.
#pragma once

#include <QDialog>

class QTableWidget;

class TSetOrderView : public QDialog
{
    Q_OBJECT
public:
    static constexpr int HelpTopic = 67;

    explicit TSetOrderView(QWidget* owner);
    // The cell texts of parts 1 to 9.
    void SetParts(const QStringList& parts);

private:
    QTableWidget* m_sgSetOrder = nullptr;
};
