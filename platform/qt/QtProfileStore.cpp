#include "platform/qt/QtProfileStore.h"

#include <QStringList>

#include "platform/qt/IniLine.h"

namespace {

QString ToQString(const std::string& text)
{
    return QString::fromStdString(text);
}

// The text of the value at `key` (below the settings' group). An unquoted
// text with commas in a hand-edited file reads as a list with its items
// trimmed; the file's own line gives it back as written.
std::string TextOf(const QSettings& settings, const QString& key, const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList) {
        const QString group = settings.group();
        if (const auto line = IniLineValue(settings.fileName(), group.isEmpty() ? key : group + QLatin1Char('/') + key))
            return line->toStdString();
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    return value.toString().toStdString();
}

} // namespace

CQtProfileStore::CQtProfileStore(std::unique_ptr<QSettings> settings, const QString& group)
    : m_settings(std::move(settings))
{
    if (!group.isEmpty())
        m_settings->beginGroup(group);
}

CQtProfileStore::CQtProfileStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

std::optional<std::string> CQtProfileStore::ReadValue(const std::string& path) const
{
    const QString key = ToQString(path);
    const QVariant value = m_settings->value(key);
    if (!value.isValid())
        return std::nullopt;
    return TextOf(*m_settings, key, value);
}

bool CQtProfileStore::WriteValue(const std::string& path, const std::string& text)
{
    if (!m_settings->isWritable())
        return false;
    m_settings->setValue(ToQString(path), ToQString(text));
    return true;
}

bool CQtProfileStore::DeleteValue(const std::string& path)
{
    if (!m_settings->isWritable())
        return false;
    const QString key = ToQString(path);
    // remove() on a key that names a group would take the whole group.
    if (m_settings->contains(key))
        m_settings->remove(key);
    return true;
}

IProfileStore::Values CQtProfileStore::ReadAll() const
{
    Values values;
    const QStringList keys = m_settings->allKeys();
    for (const QString& key : keys)
        values[key.toStdString()] = TextOf(*m_settings, key, m_settings->value(key));
    return values;
}

bool CQtProfileStore::ReplaceAll(const Values& values)
{
    if (!m_settings->isWritable())
        return false;
    m_settings->remove(QString());
    for (const auto& [path, text] : values)
        m_settings->setValue(ToQString(path), ToQString(text));
    return Flush();
}

bool CQtProfileStore::Flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

std::shared_ptr<IProfileStore> CQtSettingsKeys::OpenKey(SettingsScope scope, const std::string& subKey, bool create)
{
    const QStringList parts = ToQString(MapSectionName(subKey)).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() < 3 || parts[0].compare(QLatin1String("Software"), Qt::CaseInsensitive) != 0)
        return nullptr;
    auto settings = std::make_unique<QSettings>(QSettings::NativeFormat,
        scope == SettingsScope::User ? QSettings::UserScope : QSettings::SystemScope, parts[1], parts[2]);
    // A system-scope QSettings falls back to nothing; a user one would also
    // read the system file, which is not part of the key.
    settings->setFallbacksEnabled(false);
    const QString group = parts.mid(3).join(QLatin1Char('/'));
    auto store = std::make_shared<CQtProfileStore>(std::move(settings), group);
    if (!create && store->ReadAll().empty())
        return nullptr;
    return store;
}
