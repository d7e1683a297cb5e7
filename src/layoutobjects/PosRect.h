// The postal code frame (one digit per printed box, or one string) and the address frame (up to three lines,
// horizontal or in vertical columns, joined and shrunk until they fit).
#pragma once

#include "layoutobjects/MetaRect.h"

#include <array>

constexpr quint8 KindRecipientPostal = 0;
constexpr quint8 KindRecipientAddress = 1;
constexpr quint8 KindSenderPostal = 4;
constexpr quint8 KindSenderAddress = 5;

class TPosRect : public TFrameClass<TPosRect, TMetaRect>
{
public:
    TPosRect();

    quint8 GetKind() const override { return m_sender ? KindSenderPostal : KindRecipientPostal; }
    void RenderContent(TCanvas& canvas, int width, int height) override;
    void Clear() override;
    void UpdateFontHeight() override;

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    bool Sender() const { return m_sender; }
    void SetSender(bool sender) { m_sender = sender; }
    bool InBlock() const { return m_inBlock; }
    void SetInBlock(bool inBlock) { m_inBlock = inBlock; }

private:
    void renderBoxes(TCanvas& canvas, const QString& text, int w, int h);

    QString m_text;
    bool m_sender = false;
    bool m_inBlock = false;
};

class TAddressRect : public TFrameClass<TAddressRect, TMetaRect>
{
public:
    TAddressRect();

    quint8 GetKind() const override { return m_sender ? KindSenderAddress : KindRecipientAddress; }
    void RenderContent(TCanvas& canvas, int width, int height) override;
    void Clear() override;
    void UpdateFontHeight() override;
    void Assign(const TDrawRect& source) override;
    void SaveToStream(TFrameWriter& stream) const override;

    QString GetLine(int index) const;
    void SetLine(int index, const QString& text);
    bool VerticalDigits() const { return m_verticalDigits; }
    void SetVerticalDigits(bool verticalDigits);
    bool Sender() const { return m_sender; }
    void SetSender(bool sender) { m_sender = sender; }
    int Level() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    bool InBlock() const { return m_inBlock; }
    void SetInBlock(bool inBlock) { m_inBlock = inBlock; }

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    void renderHorizontal(TCanvas& canvas, QPoint margins, int W, int H, const QStringList& lines);
    void renderVertical(TCanvas& canvas, QPoint margins, int L, int Wd, const QStringList& lines);

    std::array<QString, 3> m_lines;
    bool m_sender = false;
    int m_level = DefaultSizeLevel;
    bool m_inBlock = false;
    bool m_verticalDigits = false;
};
