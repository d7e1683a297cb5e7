// The custom paper dialog of postcards and envelopes: a standard paper copied with a name and size of its own.
#pragma once

#include "layoutobjects/PaperDialogSub.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QStackedWidget;
class TUpDownEdit;

class TCustomLayoutFormatDialog : public QDialog
{
    Q_OBJECT
public:
    // custom: the papers the name must differ from.
    TCustomLayoutFormatDialog(const TStandardFormats& standard, const TCustomFormats& custom,
                              QWidget* parent = nullptr);

    // Starts from "Lyt.fmt" record index.
    void SetSource(int index);
    // Starts from a custom paper: its source, then its own record.
    void SetSourceFromCustom(const TCustomPaperFormat& custom);
    // The new paper without id.
    TCustomPaperFormat Result() const;

    const TPaperFormat& Work() const { return m_work; }
    int SourceIndex() const { return m_source; }
    bool NoBarcode() const { return m_noBarcode; }

    void done(int result) override;

private:
    void ChooseSource();
    void SizeChanged();
    void Refresh();
    int ChosenIndex() const;
    void FillEnvelopePapers(int categoryRow);

    const TStandardFormats& m_standard;
    const TCustomFormats& m_custom;
    TPaperFormat m_work;
    int m_source = 0;
    QImage m_picture;
    bool m_updating = false;
    bool m_noBarcode = false;

    QStackedWidget* m_pages;
    QListWidget* m_postPaper;
    QRadioButton* m_postVertical;
    QRadioButton* m_postHorizontal;
    QListWidget* m_envCategory;
    QListWidget* m_envPaper;
    QRadioButton* m_envUpright;
    QRadioButton* m_envLying;
    QRadioButton* m_envVertical;
    QRadioButton* m_envHorizontal;
    TUpDownEdit* m_width;
    TUpDownEdit* m_height;
    QLineEdit* m_name;
    TPaperPreview* m_preview;
};
