#include "platform/QtSettingsStore.h"

#include <QSettings>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringEncoder>

namespace saroko {
namespace {

QString Key(std::string_view section, std::string_view entry) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) +
           QLatin1Char('/') + QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}

const char* const kCp932Names[] = {"windows-31j", "Shift_JIS", "cp932"};

} // namespace

CQtSettingsStore::CQtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QString::fromLatin1(kOrganisation),
                                             QString::fromLatin1(kApplication))) {}

CQtSettingsStore::CQtSettingsStore(const std::string& iniPath)
    : m_settings(std::make_unique<QSettings>(QString::fromStdString(iniPath),
                                             QSettings::IniFormat)) {}

CQtSettingsStore::~CQtSettingsStore() = default;

int CQtSettingsStore::GetInt(std::string_view section, std::string_view entry, int def) const {
    const QVariant v = m_settings->value(Key(section, entry));
    if (!v.isValid())
        return def;
    int value = def;
    return ParseStoredInt(v.toString().toStdString(), value) ? value : def;
}

std::string CQtSettingsStore::GetString(std::string_view section, std::string_view entry,
                                        std::string_view def) const {
    const QVariant v = m_settings->value(Key(section, entry));
    if (!v.isValid())
        return std::string(def);
    return v.toString().toStdString();
}

void CQtSettingsStore::WriteInt(std::string_view section, std::string_view entry, int value) {
    m_settings->setValue(Key(section, entry), value);
}

void CQtSettingsStore::WriteString(std::string_view section, std::string_view entry,
                                   std::string_view value) {
    m_settings->setValue(Key(section, entry),
                         QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void CQtSettingsStore::Sync() { m_settings->sync(); }

bool CQtCp932Codec::Available() {
    for (const char* name : kCp932Names)
        if (QStringDecoder(name).isValid())
            return true;
    return false;
}

std::string CQtCp932Codec::Cp932ToUtf8(std::string_view bytes) const {
    for (const char* name : kCp932Names) {
        QStringDecoder dec(name);
        if (!dec.isValid())
            continue;
        const QString s = dec.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        return s.toStdString();
    }
    return CBasicCp932Codec().Cp932ToUtf8(bytes);
}

std::string CQtCp932Codec::Utf8ToCp932(std::string_view text) const {
    for (const char* name : kCp932Names) {
        QStringEncoder enc(name);
        if (!enc.isValid())
            continue;
        const QByteArray b = enc.encode(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        return std::string(b.constData(), static_cast<std::size_t>(b.size()));
    }
    return CBasicCp932Codec().Utf8ToCp932(text);
}

} // namespace saroko
