#include "platform/QtSettingsStore.h"

#include "platform/UserFolders.h"

#include <QSettings>
#include <QStringConverter>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace saroko {
namespace {

QString Key(std::string_view section, std::string_view entry) {
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) +
           QLatin1Char('/') + QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size()));
}

} // namespace

#ifdef _WIN32
CQtSettingsStore::CQtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QString::fromLatin1(kOrganisation),
                                             QString::fromLatin1(kApplication))) {}
#else
// The XDG file of the program's own short name, in the same INI format as before.
CQtSettingsStore::CQtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QString::fromStdString(SettingsFile()),
                                             QSettings::IniFormat)) {}
#endif

CQtSettingsStore::CQtSettingsStore(const std::string& iniPath)
    : m_settings(
          std::make_unique<QSettings>(QString::fromStdString(iniPath), QSettings::IniFormat)) {}

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

void CQtSettingsStore::Sync() {
    m_settings->sync();
}

namespace {

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
}

#ifdef _WIN32
// Windows converts its own code page 932 itself; Qt there has no converter for it.
constexpr UINT kCp932 = 932;
#else
const char* const kCp932Names[] = {"windows-31j", "Shift_JIS", "cp932"};

// The name under which this Qt build converts CP932, looked up once; null when it cannot.
const char* Cp932Name() {
    static const char* const name = []() -> const char* {
        for (const char* n : kCp932Names)
            if (QStringDecoder(n).isValid())
                return n;
        return nullptr;
    }();
    return name;
}
#endif

} // namespace

#ifdef _WIN32
bool CQtCp932Codec::Available() {
    return IsValidCodePage(kCp932) != 0;
}

QString FromCp932(std::string_view bytes) {
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    const int in = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(kCp932, 0, bytes.data(), in, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(kCp932, 0, bytes.data(), in, wide.data(), n);
    return QString::fromStdWString(wide);
}

std::string ToCp932(const QString& text) {
    const std::wstring wide = text.toStdWString();
    const int in = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(kCp932, 0, wide.data(), in, nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(kCp932, 0, wide.data(), in, out.data(), n, "?", nullptr);
    return out;
}
#else
bool CQtCp932Codec::Available() {
    return Cp932Name() != nullptr;
}

QString FromCp932(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // Most texts are ASCII; those need no converter.
    if (IsAscii(bytes))
        return QString::fromLatin1(view);
    if (const char* name = Cp932Name())
        return QStringDecoder(name).decode(view);
    return QString::fromStdString(CBasicCp932Codec().Cp932ToUtf8(bytes));
}

std::string ToCp932(const QString& text) {
    if (const char* name = Cp932Name()) {
        const QByteArray b = QStringEncoder(name).encode(text);
        return std::string(b.constData(), static_cast<std::size_t>(b.size()));
    }
    return CBasicCp932Codec().Utf8ToCp932(text.toStdString());
}
#endif

std::string CQtCp932Codec::Cp932ToUtf8(std::string_view bytes) const {
    return FromCp932(bytes).toStdString();
}

std::string CQtCp932Codec::Utf8ToCp932(std::string_view text) const {
    // ASCII is the same bytes both ways, as in the decoding above.
    if (IsAscii(text))
        return std::string(text);
    return ToCp932(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace saroko
