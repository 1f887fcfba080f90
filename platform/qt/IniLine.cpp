#include "platform/qt/IniLine.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringList>

namespace {

// A key path as QSettings compares it: no empty parts.
QString Normalized(const QString& key)
{
    return key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

// A section or key name as QSettings reads it: '\' nests, %XX and %UXXXX
// stand for one character, anything else is itself.
QString UnescapedKey(QByteArrayView escaped)
{
    const QString text = QString::fromUtf8(escaped.trimmed());
    QString key;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\')) {
            key += QLatin1Char('/');
            continue;
        }
        if (c == QLatin1Char('%') && i + 1 < text.size()) {
            const bool wide = text[i + 1] == QLatin1Char('U');
            const qsizetype first = i + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            bool ok = false;
            const ushort code = first + digits <= text.size() ? QStringView(text).sliced(first, digits).toUShort(&ok, 16) : 0;
            if (ok) {
                key += QChar(code);
                i = first + digits - 1;
                continue;
            }
        }
        key += c;
    }
    return key;
}

// Where `wanted` first stands outside quotes and escapes, or -1.
qsizetype FindUnquoted(QByteArrayView line, char wanted)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == wanted && !quoted)
            return i;
    }
    return -1;
}

} // namespace

std::optional<QString> IniLineValue(const QString& fileName, const QString& key)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray data = file.readAll();
    data.replace('\r', '\n');

    const QString wanted = Normalized(key);
    QString section;  // empty in [General] and before any section
    std::optional<QString> found;
    for (const QByteArrayView whole : data.split('\n')) {
        QByteArrayView line = whole.trimmed();
        // An unquoted ';' starts a comment, also at the end of a line.
        if (const qsizetype comment = FindUnquoted(line, ';'); comment >= 0)
            line = line.first(comment).trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith('[')) {
            const qsizetype end = line.indexOf(']');
            const QByteArrayView name = line.sliced(1, (end < 0 ? line.size() : end) - 1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromUtf8(name.sliced(1));
            else
                section = UnescapedKey(name);
            continue;
        }
        const qsizetype equals = FindUnquoted(line, '=');
        if (equals < 0 || Normalized(section + QLatin1Char('/') + UnescapedKey(line.first(equals))) != wanted)
            continue;
        found = QString::fromUtf8(line.sliced(equals + 1).trimmed());
    }
    return found;
}
