// "DrRect.def" with its sender part.
#include "designers/DesignPrototypes.h"

#include "core/FontSub.h"

#include <QFile>

void LoadDesignPrototypes(const QString& path, TDesignPrototypes& prototypes)
{
    LoadDefaultRects(path, *prototypes.Rects);
    bool senderRead = false;
    const QByteArray& tail = prototypes.Rects->Tail;
    if (!tail.isEmpty()) {
        try {
            TFrameReader reader(tail);
            prototypes.Sender.LoadFromStream(reader);
            senderRead = true;
        } catch (const EFrameStreamError&) {
            // A damaged sender part counts as none.
        }
    }
    if (!senderRead) {
        TFontSpec font;
        SetFontAttributes(&font, ShiftJisCharset, QStringLiteral("ＭＳ Ｐゴシック"), 12, 0);
        prototypes.Sender.SetFont(font, 0);
        prototypes.Sender.ResetItemRect(-1);
    } else {
        prototypes.Sender.SetFont(prototypes.Sender.GetFont(), 0);
    }
}

bool SaveDesignPrototypes(const QString& path, TDesignPrototypes& prototypes)
{
    if (!prototypes.Changed())
        return true;
    QByteArray tail;
    TFrameWriter writer(tail);
    prototypes.Sender.SaveToStream(writer);
    prototypes.Rects->Tail = tail;
    return SaveDefaultRects(path, *prototypes.Rects);
}
