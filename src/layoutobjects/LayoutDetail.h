// The font and placement details dialog: the detail part of a designer's settings record (size levels,
// company-line ratios, alignments, spacing, joint names, company breaks) and the placed fixed frames.
#pragma once

#include "designers/PrintDataFile.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTabWidget;
class TExTrackBar;

inline constexpr int LayoutDetailHelp = 113;
inline constexpr int LayoutDetailPlacementHelp = 114;

// Where a click at x puts a track bar whose channel runs from left to right (positions 1 to maximum).
int TrackBarClickPosition(int x, int left, int right, int maximum);

class TLayoutDetailDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TLayoutDetailDialog(QWidget* owner = nullptr);

    // Set-up, in this order: the paper kind (0 postcard, 1 envelope, 2 label sheet, 3 card), the manual
    // flag, the placed sides (0 both, 1 recipient only, 2 sender only).
    void SetPaperKind(quint8 kind);
    void SetManualLayout(quint8 manual);
    void SetPlacedSides(quint8 mode);
    void SetDetailSettings(const TLayoutSettings& settings);
    // The message-side design window draws no recipient text of its own.
    void DisableRecipientFonts(quint8 disable);

    quint8 PaperKind() const { return m_paperKind; }
    quint8 ManualLayout() const { return m_manualLayout; }
    quint8 PlacedSides() const { return m_placedSides; }
    // Writes bytes 60 to 100 from the controls; every other byte stays.
    void GetDetailSettings(TLayoutSettings& settings) const;

    // The twenty item boxes: whether that fixed frame is placed.
    bool GetShowPostal() const;
    void SetShowPostal(bool on);
    bool GetShowAddress(int i) const;
    void SetShowAddress(int i, bool on);
    bool GetShowName() const;
    void SetShowName(bool on);
    bool GetShowCorp() const;
    void SetShowCorp(bool on);
    bool GetShowDepartment() const;
    void SetShowDepartment(bool on);
    bool GetShowTitle() const;
    void SetShowTitle(bool on);
    bool GetShowSenderPostal() const;
    void SetShowSenderPostal(bool on);
    bool GetShowSenderAddress(int i) const;
    void SetShowSenderAddress(int i, bool on);
    bool GetShowSenderName() const;
    void SetShowSenderName(bool on);
    bool GetShowSenderCorp() const;
    void SetShowSenderCorp(bool on);
    bool GetShowSenderDepartment() const;
    void SetShowSenderDepartment(bool on);
    bool GetShowSenderTitle() const;
    void SetShowSenderTitle(bool on);
    bool GetShowSenderContact(int i) const;
    void SetShowSenderContact(int i, bool on);
    // The recipient's eight boxes in one: postal code, address 1-3, name, company, department, title.
    std::array<bool, 8> GetRecipientShown() const;
    void SetRecipientShown(const std::array<bool, 8>& shown);
    // The twelve sender boxes at once: postal code, address lines 1-3, name, company, department, title,
    // contacts 1-4.
    std::array<bool, 12> GetSenderShown() const;
    void SetSenderShown(const std::array<bool, 12>& shown);

    void done(int result) override;

private:
    void buildPlacedPage();
    void buildFontPage();
    void buildAlignPage();
    void ckbAutoClick();
    void pageChanged(int index);
    void tbrMouseDown(TExTrackBar* bar, Qt::MouseButton button, int x);
    TExTrackBar* levelBar(QWidget* parent, const char* name);

    quint8 m_paperKind = 0;
    quint8 m_manualLayout = 0;
    quint8 m_placedSides = 0;

    QTabWidget* pgcDetail = nullptr;
    QCheckBox* ckbAuto = nullptr;
    QLabel* lblSender = nullptr;
    QLabel* lblSender2 = nullptr;
    // Recipient postal, address 1-3, name, company, department, title.
    std::array<QCheckBox*, 8> m_recipientBoxes{};
    // The same for the sender, then contacts 1-4.
    std::array<QCheckBox*, 12> m_senderBoxes{};

    TExTrackBar* tbrName = nullptr;
    TExTrackBar* tbrAddress = nullptr;
    TExTrackBar* tbrAddition = nullptr;
    TExTrackBar* tbrSendName = nullptr;
    TExTrackBar* tbrSendAddress = nullptr;
    TExTrackBar* tbrSendAddition = nullptr;
    QLineEdit* edNameRatio = nullptr;
    std::array<QComboBox*, 3> m_ratioLists{};
    std::array<QLabel*, 4> m_ratioLabels{};

    std::array<QRadioButton*, 4> m_nameAlign{};
    std::array<QRadioButton*, 4> m_senderAlign{};
    QRadioButton* rbParallel = nullptr;
    QRadioButton* rbSeries = nullptr;
    QCheckBox* ckbCorpBreak = nullptr;
    QCheckBox* ckbCharSpace = nullptr;
};
