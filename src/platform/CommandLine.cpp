#include "platform/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs
#endif

namespace saroko {

#ifdef _WIN32
std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) {
        const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string a(static_cast<std::size_t>(n > 0 ? n - 1 : 0), '\0');
        if (n > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, a.data(), n, nullptr, nullptr);
        args.push_back(std::move(a));
    }
    LocalFree(wide);
    return args;
}

void FollowSystemTimeZone() {
    _putenv("TZ=");
    _tzset();
}
#else
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void FollowSystemTimeZone() {}
#endif

QStringList ParserArguments(const char* program, const std::vector<std::string>& args) {
    QStringList list{QLatin1String(program)};
    for (const std::string& a : args)
        list.append(QString::fromLatin1(a.data(), static_cast<qsizetype>(a.size())));
    return list;
}

std::string ArgumentBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

std::string ParseProblem(const QCommandLineParser& parser) {
    if (const QStringList unknown = parser.unknownOptionNames(); !unknown.isEmpty()) {
        const QString& name = unknown.first();
        return "unknown option " + std::string(name.size() == 1 ? "-" : "--") + ArgumentBytes(name);
    }
    // Qt's only other complaints quote the option; they are told apart by Qt's own words,
    // translated as Qt translates them.
    const QString text = parser.errorText();
    const qsizetype open = text.indexOf(QLatin1Char('\'')),
                    close = text.lastIndexOf(QLatin1Char('\''));
    if (open < 0 || close <= open)
        return text.toStdString();
    const QString option = text.mid(open + 1, close - open - 1);
    // Qt's text, held apart so that our translation file does not take it up as ours.
    static const char* const kMissing = "Missing value after '%1'.";
    const bool missing =
        text == QCoreApplication::translate("QCommandLineParser", kMissing).arg(option);
    return "option " + ArgumentBytes(option) + (missing ? " needs a value" : " takes no value");
}

} // namespace saroko
