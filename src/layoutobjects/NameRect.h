// The name frame: a person's name with honorific, note and joint names in one given-name column, or a
// company block above the name; and the line geometry the name-like frames share.
#pragma once

#include "layoutobjects/MetaRect.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

constexpr quint8 KindRecipientName = 2;
constexpr quint8 KindSenderName = 6;

constexpr quint8 NameKindPerson = 1;
constexpr quint8 NameKindCompany = 2;

// Cuts a text at its full-width space nearest the middle (the space dropped); none when there is no space or
// a part would be shorter than 3 characters.
std::optional<std::pair<QString, QString>> BreakAtFullWidthSpace(const QString& text);

// Margins and extents of a one-direction text layout: lines run along s, follow each other across l.
struct TLineArea
{
    TLineArea(const TCanvas& canvas, int w, int h, bool vertical);
    bool IsEmpty() const { return s <= 0 || l <= 0; }
    // A point along the line (from the margin) on the line whose across position is across (y of the line's
    // top, or x of the column's right edge).
    QPoint At(int along, int across) const;

    bool vertical;
    int mx;
    int my;
    int s;
    int l;
};

// Draws the following text at a width factor of the canvas's natural width (1 restores it).
void SetCanvasWidthFactor(TCanvas& canvas, double factor);

struct TJointName
{
    QString name;
    QString honorific;
    QString note;
};

class TNameRect : public TFrameClass<TNameRect, TMetaRect>
{
public:
    TNameRect();

    quint8 GetKind() const override { return m_sender ? KindSenderName : KindRecipientName; }
    void RenderContent(TCanvas& canvas, int width, int height) override;
    void Clear() override;
    void UpdateFontHeight() override;
    void Assign(const TDrawRect& source) override;
    void SaveToStream(TFrameWriter& stream) const override;

    quint8 NameKind() const { return m_nameKind; }
    void SetNameKind(quint8 kind);
    QString Name() const { return m_name; }
    void SetName(const QString& text);
    QString Honorific() const { return m_honorific; }
    void SetHonorific(const QString& text);
    QString Note() const { return m_note; }
    void SetNote(const QString& text);
    int GetJointCount() const { return int(m_joints.size()); }
    void SetJointCount(int count);
    QString GetJointName(int index) const;
    void SetJointName(int index, const QString& text);
    QString GetJointHonorific(int index) const;
    void SetJointHonorific(int index, const QString& text);
    void SetJointNote(int index, const QString& text);
    quint8 NameAlign() const { return m_nameAlign; }
    void SetNameAlign(quint8 align);
    bool IgnoreName() const { return m_ignoreName; }
    void SetIgnoreName(bool ignore);
    QString Company() const { return m_company; }
    void SetCompany(const QString& text);
    QString GetCorpLine(int index) const;
    void SetCorpLine(int index, const QString& text);
    void SetTitle(const QString& text) { SetCorpLine(2, text); }
    void SetCompanyRatio(double ratio);
    void SetDepartmentRatio(double ratio);
    void SetTitleRatio(double ratio);
    void SetWidenSpacing(bool widen);
    void SetCorpBreak(bool corpBreak);
    bool HonorificPrinted() const { return m_honorificPrinted; }
    void SetHonorificPrinted(bool printed);
    bool Sender() const { return m_sender; }
    void SetSender(bool sender) { m_sender = sender; }
    int Level() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    bool InBlock() const { return m_inBlock; }
    void SetInBlock(bool inBlock) { m_inBlock = inBlock; }

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    void renderPerson(TCanvas& canvas, const TLineArea& area);
    void renderCompany(TCanvas& canvas, const TLineArea& area);
    QString storedName(const QString& text, bool ignore) const;

    quint8 m_nameKind = 0;
    QString m_name;
    QString m_honorific;
    QString m_note;
    std::vector<TJointName> m_joints;
    quint8 m_nameAlign = 0;
    bool m_ignoreName = false;
    QString m_company;
    std::array<QString, 3> m_corpLines;
    double m_companyRatio = 0.7;
    double m_departmentRatio = 0.6;
    double m_titleRatio = 0.5;
    bool m_sender = false;
    int m_level = DefaultSizeLevel;
    bool m_inBlock = false;
    bool m_corpBreak = false;
    bool m_honorificPrinted = true;
    bool m_widenSpacing = true;
};
