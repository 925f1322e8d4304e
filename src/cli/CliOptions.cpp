#include "cli/CliOptions.h"

#include <QCommandLineParser>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "core/document/ChannelRecord.h"
#include "core/document/LocalDateTime.h"
#include "core/graph/GraphModel.h"
#include "core/report/ReportSettings.h"
#include "core/settings/Language.h"
#include "core/text/ParseDecimal.h"
#include "platform/CommandLine.h"

namespace saroko::cli {

namespace {

bool ParseTime(const QCommandLineParser& parser, const char* name, std::optional<uint32_t>& out) {
    if (!parser.isSet(QLatin1String(name)))
        return true;
    uint32_t t = 0;
    if (!ParseLocalDateTime(ArgumentBytes(parser.value(QLatin1String(name))), t))
        return false;
    out = t;
    return true;
}

bool ParseSide(std::string_view digits, int& side) {
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != digits.npos)
        return false;
    side = std::atoi(std::string(digits).c_str());
    return side >= 1 && side <= kMaxViewSide;
}

} // namespace

int ParseViewSize(std::string_view text, ViewSize& size) {
    const auto x = text.find_first_of("xX");
    ViewSize s;
    if (x == text.npos || !ParseSide(text.substr(0, x), s.width) ||
        !ParseSide(text.substr(x + 1), s.height))
        return 0;
    if (s.height < kMinViewBottom)
        return -1;
    size = s;
    return 1;
}

bool ParseScale(std::string_view text, const ViewSize& size, double& scale) {
    const std::string s(text);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (s.empty() || *end != '\0' || !(v >= 1.0 && v <= 4.0) || size.width * v > kMaxViewSide ||
        size.height * v > kMaxViewSide)
        return false;
    scale = v;
    return true;
}

bool HasExtension(std::string_view path, std::string_view extension) {
    if (path.size() <= extension.size() || path[path.size() - extension.size() - 1] != '.')
        return false;
    const std::string_view tail = path.substr(path.size() - extension.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(tail[i]) != lower(extension[i]))
            return false;
    }
    return true;
}

bool CheckLanguageChoice(const std::string& choice) {
    Language language;
    if (ParseLanguage(choice, language))
        return true;
    std::cerr << "saroko-cli: --lang takes ja or en\n";
    return false;
}

struct CVerbOptions::Parser {
    QCommandLineParser parser;
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")}};
    QCommandLineOption lang{QStringLiteral("lang"), QString(), QStringLiteral("LANG")};
};

CVerbOptions::CVerbOptions(const Verb& verb, const Verb* subcommand)
    : m_verb(verb), m_pSubcommand(subcommand), m_parser(std::make_unique<Parser>()) {
    m_parser->parser.addOption(m_parser->help);
    m_parser->parser.addOption(m_parser->lang);
}

CVerbOptions::~CVerbOptions() = default;

void CVerbOptions::AddValue(const char* name) {
    m_parser->parser.addOption(
        QCommandLineOption(QLatin1String(name), QString(), QStringLiteral("VALUE")));
}

void CVerbOptions::AddFlag(const char* name) {
    m_parser->parser.addOption(QCommandLineOption(QLatin1String(name)));
}

void CVerbOptions::AddWindow() {
    m_bWindow = true;
    AddValue("from");
    AddValue("to");
}

void CVerbOptions::AddSize() {
    m_bSize = true;
    AddValue("size");
}

void CVerbOptions::AddScale() {
    m_bScale = true;
    AddValue("scale");
}

void CVerbOptions::AddOutput() {
    m_bOutput = true;
    m_parser->parser.addOption(
        QCommandLineOption(QStringList{QStringLiteral("o"), QStringLiteral("output")}, QString(),
                           QStringLiteral("FILE")));
}

void CVerbOptions::AddLimits() {
    m_bLimits = true;
    AddValue("low");
    AddValue("high");
    AddValue("limits");
}

void CVerbOptions::AddUnits() {
    m_bUnits = true;
    AddFlag("fahrenheit");
    AddFlag("celsius");
}

bool CVerbOptions::Parse(const std::vector<std::string>& args) {
    QCommandLineParser& p = m_parser->parser;
    const bool parsed = p.parse(ParserArguments("saroko-cli", args));
    if (p.isSet(m_parser->help)) {
        std::cout << m_verb.usage;
        m_nExitStatus = kExitOk;
        return false;
    }
    if (!parsed) {
        Fail(ParseProblem(p));
        return false;
    }
    for (const QString& a : p.positionalArguments())
        m_files.push_back(ArgumentBytes(a));
    if (p.isSet(m_parser->lang)) {
        m_lang = ArgumentBytes(p.value(m_parser->lang));
        if (!CheckLanguageChoice(m_lang)) {
            m_nExitStatus = kExitUsage;
            return false;
        }
    }
    return Check();
}

// The shared options' rules, in the order the options are listed in the usage texts.
bool CVerbOptions::Check() {
    const QCommandLineParser& p = m_parser->parser;
    if (m_bNoFiles && !m_files.empty()) {
        Fail(std::string(m_pSubcommand ? m_pSubcommand->name : m_verb.name) +
             " takes no arguments");
        return false;
    }
    if (m_bOutput)
        m_output = Value("output").value_or(std::string());
    if (m_bSize) {
        if (const auto s = Value("size")) {
            const int r = ParseViewSize(*s, m_size);
            if (r <= 0) {
                Fail(r == 0 ? "--size wants WIDTHxHEIGHT, for example 1280x800"
                            : "--size: the view is never lower than 225 pixels");
                return false;
            }
        }
    }
    if (m_bScale) {
        if (const auto s = Value("scale"); s && !ParseScale(*s, m_size, m_dScale)) {
            Fail("--scale wants a ratio from 1 to 4, for example 2");
            return false;
        }
    }
    if (m_bWindow) {
        for (const char* name : {"from", "to"}) {
            if (!ParseTime(p, name, name[0] == 'f' ? m_from : m_to)) {
                Fail(std::string("--") + name + " wants a local time as \"YYYY/MM/DD HH:MM:SS\"");
                return false;
            }
        }
        if (m_from && m_to && *m_to < *m_from) {
            Fail("--to lies before --from");
            return false;
        }
    }
    if (m_bUnits) {
        const bool f = Has("fahrenheit"), c = Has("celsius");
        if (f && c) {
            Fail("--fahrenheit and --celsius exclude each other");
            return false;
        }
        if (f || c)
            m_fahrenheit = f;
    }
    return !m_bLimits || CheckLimits();
}

bool CVerbOptions::CheckLimits() {
    for (const auto& [name, slot] : {std::pair{"low", &m_limits.low}, {"high", &m_limits.high}}) {
        if (const auto t = Value(name)) {
            double v = 0;
            int digits = 0;
            if (ParseDecimal(*t, v, digits) != 1 || !std::isfinite(v)) {
                Fail("--" + std::string(name) + " wants a number");
                return false;
            }
            *slot = v;
        }
    }
    if (m_limits.low && m_limits.high && *m_limits.low > *m_limits.high) {
        Fail("--low lies above --high");
        return false;
    }
    for (const QString& value : m_parser->parser.values(QStringLiteral("limits"))) {
        const std::string text = ArgumentBytes(value);
        const auto fail = [&](const char* problem) {
            Fail("--limits " + text + ": " + problem);
            return false;
        };
        ChannelLimits own;
        switch (ParseChannelLimits(text, own)) {
        case LimitsParse::kOk:
            break;
        case LimitsParse::kBadForm:
            return fail("wants CH:LOW:HIGH, for example 2:2:8 or 3::30");
        case LimitsParse::kBadChannel:
            return fail("the channel is a number from 1 to 8");
        case LimitsParse::kBadNumber:
            return fail("LOW and HIGH are numbers");
        case LimitsParse::kLowAboveHigh:
            return fail("the low lies above the high");
        }
        auto& given = m_limits.channelLimits;
        if (std::any_of(given.begin(), given.end(),
                        [&](const ChannelLimits& l) { return l.channel == own.channel; }))
            return fail("the channel is given twice");
        given.push_back(own);
        // Its own side against the common other side.
        if (ChannelWithCrossedLimits(m_limits) != 0)
            return fail("the low lies above the high");
    }
    return true;
}

bool CVerbOptions::Has(const char* name) const {
    return m_parser->parser.isSet(QLatin1String(name));
}

std::optional<std::string> CVerbOptions::Value(const char* name) const {
    if (!Has(name))
        return std::nullopt;
    return ArgumentBytes(m_parser->parser.value(QLatin1String(name)));
}

std::vector<std::string> CVerbOptions::Values(const char* name) const {
    std::vector<std::string> out;
    for (const QString& v : m_parser->parser.values(QLatin1String(name)))
        out.push_back(ArgumentBytes(v));
    return out;
}

bool CVerbOptions::ApplyWindow(GraphRange& range) const {
    if (m_from)
        range.viewStart = *m_from;
    if (m_to)
        range.viewEnd = *m_to;
    if (range.viewEnd < range.viewStart) {
        Fail("the time window ends before it starts");
        return false;
    }
    return true;
}

int CVerbOptions::Fail(const std::string& problem) const {
    std::cerr << "saroko-cli " << m_verb.name << ": " << problem << "\n";
    const_cast<CVerbOptions*>(this)->m_nExitStatus = kExitUsage;
    return kExitUsage;
}

bool ParseGlobalOptions(const std::vector<std::string>& args, GlobalOptions& out) {
    QCommandLineParser p;
    // What follows the verb is the verb's.
    p.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption verbose(QStringLiteral("verbose"));
    const QCommandLineOption noArchive(QStringLiteral("no-archive"));
    const QCommandLineOption archiveFile(QStringLiteral("archive"), QString(),
                                         QStringLiteral("FILE"));
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("LANG"));
    p.addOptions({help, version, verbose, noArchive, archiveFile, lang});
    if (!p.parse(ParserArguments("saroko-cli", args))) {
        std::cerr << "saroko-cli: " << ParseProblem(p) << "\n";
        return false;
    }
    out.help = p.isSet(help);
    out.version = p.isSet(version);
    out.verbose = p.isSet(verbose);
    out.noArchive = p.isSet(noArchive);
    if (p.isSet(archiveFile))
        out.archive = ArgumentBytes(p.value(archiveFile));
    if (p.isSet(lang)) {
        out.lang = ArgumentBytes(p.value(lang));
        if (!CheckLanguageChoice(out.lang))
            return false;
    }
    for (const QString& a : p.positionalArguments())
        out.rest.push_back(ArgumentBytes(a));
    return true;
}

} // namespace saroko::cli
