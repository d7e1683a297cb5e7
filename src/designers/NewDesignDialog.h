// The paper choice of a new design or of the open one: kind, paper name and direction from "Dsn.fmt", with
// the paper's size and a proportional preview.
#pragma once

#include "designers/DesignPaperFormat.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

class TNewDesignDialog : public QDialog
{
public:
    // Reads the table at path (the shipped "Dsn.fmt" when empty); a missing file or another signature leave
    // the list empty and OK disabled.
    explicit TNewDesignDialog(QWidget* parent = nullptr, const QString& path = QString());

    // Caption "用紙の変更" instead of "用紙の設定".
    void SetChangeMode(bool change);
    // Preselects the record of that number; an index outside the table selects nothing.
    void SetFormat(int index);
    int FormatIndex() const { return m_formatIndex; }
    // The chosen record; false when there is none.
    bool GetFormat(TDesignPaperFormat& out) const;
    const std::vector<TDesignPaperFormat>& Formats() const { return m_formats; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillFormatList();
    void selectFormat();
    void kindChanged();
    void updatePreview();
    void updateOk();

    std::vector<TDesignPaperFormat> m_formats;
    int m_formatIndex = -1;
    bool m_updating = false;
    QComboBox* m_kind;
    QListWidget* m_list;
    QRadioButton* m_vert;
    QRadioButton* m_horz;
    QLabel* m_size;
    QFrame* m_image;
    QFrame* m_card;
    QPushButton* m_ok;
};
