#include "cli/CliCommon.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "cli/CliVerb.h"

namespace saroko::cli {

namespace {
std::vector<Verb>& Registry() {
    static std::vector<Verb> verbs;
    return verbs;
}
} // namespace

VerbRegistrar::VerbRegistrar(const Verb& verb) { Registry().push_back(verb); }
const std::vector<Verb>& Verbs() { return Registry(); }

bool WantsHelp(const std::vector<std::string>& args) {
    for (const auto& a : args)
        if (a == "--help" || a == "-h")
            return true;
    return false;
}

int UsageError(const Verb& verb, const std::string& problem) {
    if (!problem.empty())
        std::cerr << "saroko-cli " << verb.name << ": " << problem << "\n";
    std::cerr << verb.usage;
    return kExitUsage;
}

void PrintMessage(int id, std::string_view extra) {
    const MessageDef* def = FindMessage(id);
    const std::string text =
        def ? QCoreApplication::translate("Message", def->text).toStdString() : std::string();
    std::cerr << text << extra << "\n";
}

int CCliPrompts::ShowMessage(int id, std::string_view extra) {
    m_nLastMessage = id;
    PrintMessage(id, extra);
    const MessageDef* def = FindMessage(id);
    if (def && def->buttons == MsgButtons::YesNo)
        return kIdYes;
    return kIdOk;
}

std::unique_ptr<CliSession> OpenSession() {
    auto s = std::make_unique<CliSession>();
    s->doc = std::make_unique<CZorvicDoc>(s->store, s->clock);
    s->doc->SetTextCodec(&s->codec);
    s->doc->SetPrompts(&s->prompts);
    s->doc->OnNewDocument();
    return s;
}

bool LoadFiles(CliSession& session, const std::vector<std::string>& files) {
    bool first = true;
    for (const std::string& path : files) {
        session.prompts.SetReadMode(first ? IDocumentPrompts::kReadNew
                                          : IDocumentPrompts::kReadAppend);
        first = false;
        const int r = session.doc->OpenDataFile(path);
        if (r != kFileOk) {
            // The open procedure has printed its own message for a missing file or a wrong
            // extension; a damaged file gets one here.
            const int last = session.prompts.LastMessage();
            if (last != msg::kFileNotFound && last != msg::kWrongExtension)
                std::cerr << path << ": not a readable data file\n";
            return false;
        }
    }
    return true;
}

std::string ChannelNameUtf8(const CliSession& session, const ChannelRecord& ch) {
    const std::string_view bytes(ch.name, FieldLength(ch.name, 8));
    return session.codec.Cp932ToUtf8(bytes);
}

bool Options::Has(const std::string& flag) const {
    for (const auto& f : flags)
        if (f == flag)
            return true;
    return false;
}

const std::string* Options::Value(const std::string& name) const {
    const std::string* found = nullptr;
    for (const auto& [k, v] : values)
        if (k == name)
            found = &v;
    return found;
}

Options ParseOptions(const std::vector<std::string>& args, const std::vector<std::string>& valueNames,
                     const std::vector<std::string>& flagNames) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-' && a != "-") {
            std::string name = a;
            std::string inlineValue;
            bool hasInline = false;
            if (const auto eq = a.find('='); eq != std::string::npos) {
                name = a.substr(0, eq);
                inlineValue = a.substr(eq + 1);
                hasInline = true;
            }
            if (std::find(valueNames.begin(), valueNames.end(), name) != valueNames.end()) {
                if (hasInline) {
                    o.values.emplace_back(name, inlineValue);
                } else if (i + 1 < args.size()) {
                    o.values.emplace_back(name, args[++i]);
                } else {
                    o.error = "option " + name + " needs a value";
                    return o;
                }
            } else if (!hasInline &&
                       std::find(flagNames.begin(), flagNames.end(), name) != flagNames.end()) {
                o.flags.push_back(name);
            } else {
                o.error = "unknown option " + a;
                return o;
            }
        } else {
            o.positional.push_back(a);
        }
    }
    return o;
}

} // namespace saroko::cli
