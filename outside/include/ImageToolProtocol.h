// The line protocol between the designers and the picture picker "ImgView.exe" over local sockets: the
// picker listens under one name per user; a requester sends "select <its server name>" or "close", and the
// picker answers a choice by connecting to the requester and sending the picture's path. Lines are UTF-8
// and end with "\n". Shared by the picker, the designers' link and the tests.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringDecoder>

#include <unistd.h>

namespace ImageTool {

inline const QString ProgramName = QStringLiteral("ImgView.exe");
inline const QString WindowTitle = QStringLiteral("画像参照ツール");
inline const QString SelectArgument = QStringLiteral("Select");
// Overrides the picker's server name (tests and scripted runs run pickers of their own).
inline constexpr const char* ServerVariable = "TOVAREL_IMAGE_TOOL_SERVER";
// A line longer than this is dropped whole.
inline constexpr qsizetype MaxLineBytes = 16384;
inline constexpr qsizetype MaxServerNameChars = 100;

inline QString PickerServerName()
{
    const QString name = qEnvironmentVariable(ServerVariable);
    return name.isEmpty() ? QStringLiteral("tovarel-imgview-%1").arg(getuid()) : name;
}

// A server name the protocol passes: plain letters, digits, "-", "_" and "." (never a path).
inline bool ValidServerName(const QString& name)
{
    if (name.isEmpty() || name.size() > MaxServerNameChars || name.startsWith(u'.'))
        return false;
    for (QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'_' && c != u'.')
            return false;
    return true;
}

// Splits the bytes of a connection into lines; a line over MaxLineBytes is dropped up to its end.
class TLineReader
{
public:
    void Append(const QByteArray& bytes)
    {
        for (char c : bytes) {
            if (c == '\n') {
                if (!m_overlong) {
                    if (m_line.endsWith('\r'))
                        m_line.chop(1);
                    m_lines.append(m_line);
                }
                m_line.clear();
                m_overlong = false;
            } else if (!m_overlong) {
                if (m_line.size() >= MaxLineBytes) {
                    m_overlong = true;
                    m_line.clear();
                } else {
                    m_line.append(c);
                }
            }
        }
    }
    // The complete lines received so far, taken out of the reader.
    QList<QByteArray> TakeLines()
    {
        QList<QByteArray> lines;
        lines.swap(m_lines);
        return lines;
    }

private:
    QByteArray m_line;
    QList<QByteArray> m_lines;
    bool m_overlong = false;
};

// Valid UTF-8 without NUL or other control characters; false otherwise.
inline bool DecodeLine(const QByteArray& line, QString& text)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder.decode(line);
    if (decoder.hasError())
        return false;
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return false;
    return true;
}

struct TCommand
{
    enum Kind { Unknown, Select, Close } kind = Unknown;
    QString server; // of Select
};

// A line sent to the picker: "select <server name>" or "close".
inline TCommand ParseCommand(const QByteArray& line)
{
    TCommand command;
    QString text;
    if (!DecodeLine(line, text))
        return command;
    if (text == QLatin1String("close")) {
        command.kind = TCommand::Close;
    } else if (text.startsWith(QLatin1String("select "))) {
        const QString server = text.mid(7);
        if (ValidServerName(server)) {
            command.kind = TCommand::Select;
            command.server = server;
        }
    }
    return command;
}

// An answer of the picker: an absolute path; false for anything else.
inline bool ParsePath(const QByteArray& line, QString& path)
{
    return DecodeLine(line, path) && path.startsWith(u'/');
}

inline QByteArray SelectLine(const QString& server)
{
    return "select " + server.toUtf8() + '\n';
}
inline QByteArray CloseLine()
{
    return QByteArrayLiteral("close\n");
}
inline QByteArray PathLine(const QString& path)
{
    return path.toUtf8() + '\n';
}

} // namespace ImageTool
