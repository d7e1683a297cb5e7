// The company-line frame (one line of company information, broken in two when long) and the additional-item
// frame (one item of the record behind an optional heading).
#pragma once

#include "layoutobjects/NameRect.h"

constexpr quint8 KindAddition = 8;

// Item kinds of the additional-item frame.
constexpr quint8 AdditionFixedText = 0;
constexpr quint8 AdditionSenderContact1 = 19;

class TCorpRect : public TFrameClass<TCorpRect, TMetaRect>
{
public:
    TCorpRect();

    quint8 GetKind() const override { return m_sender ? KindSenderName : KindRecipientName; }
    void RenderContent(TCanvas& canvas, int width, int height) override;
    void Clear() override;
    void UpdateFontHeight() override;
    void Assign(const TDrawRect& source) override;
    void SaveToStream(TFrameWriter& stream) const override;

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    QString Honorific() const { return m_honorific; }
    void SetHonorific(const QString& text);
    bool CorpBreak() const { return m_corpBreak; }
    void SetCorpBreak(bool corpBreak);
    bool Sender() const { return m_sender; }
    void SetSender(bool sender) { m_sender = sender; }
    int Level() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    bool InBlock() const { return m_inBlock; }
    void SetInBlock(bool inBlock) { m_inBlock = inBlock; }

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    bool m_corpBreak = false;
    QString m_honorific;
    QString m_text;
    bool m_sender = false;
    int m_level = DefaultSizeLevel;
    bool m_inBlock = false;
};

class TAdditionRect : public TFrameClass<TAdditionRect, TMetaRect>
{
public:
    TAdditionRect();

    quint8 GetKind() const override { return KindAddition; }
    void RenderContent(TCanvas& canvas, int width, int height) override;
    void Clear() override;
    void UpdateFontHeight() override;
    void Assign(const TDrawRect& source) override;
    void SaveToStream(TFrameWriter& stream) const override;

    QString Text() const { return m_text; }
    void SetText(const QString& text);
    QString Heading() const { return m_heading; }
    void SetHeading(const QString& text);
    quint8 ItemKind() const { return m_itemKind; }
    void SetItemKind(quint8 kind) { m_itemKind = kind; }
    int Level() const { return m_level; }
    void SetLevel(int level) { m_level = level; }
    // Reads an item kind and its fixed text as the frame and the sender block store them.
    void ReadKind(TFrameReader& stream);
    void WriteKind(TFrameWriter& stream) const;

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    QString m_text;
    QString m_heading;
    quint8 m_itemKind = 0;
    int m_level = DefaultSizeLevel;
};
