#include "cli/CliCommon.h"

#include "cli/CliArchive.h"

#include <QCoreApplication>
#include <iostream>

namespace saroko::cli {

void PrintMessage(int id, std::string_view extra) {
    const MessageDef* def = FindMessage(id);
    const std::string text =
        def ? QCoreApplication::translate("Message", def->text).toStdString() : std::string();
    std::cerr << text << extra << "\n";
}

int CCliPrompts::ShowMessage(int id, std::string_view extra) {
    m_nLastMessage = id;
    PrintMessage(id, extra.empty() && !m_file.empty() ? "\n" + m_file : std::string(extra));
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
        session.prompts.SetFile(path);
        const int r = session.doc->OpenDataFile(path);
        session.prompts.SetFile({});
        if (r != kFileOk) {
            // The open procedure has printed its own message for a missing file or a wrong
            // extension; a damaged file gets one here.
            const int last = session.prompts.LastMessage();
            if (last != msg::kFileNotFound && last != msg::kWrongExtension)
                std::cerr << path << ": not a readable data file\n";
            return false;
        }
    }
    session.sources = RecordOpened(session, files);
    return true;
}

std::string ChannelNameUtf8(const CliSession& session, const ChannelRecord& ch) {
    const std::string_view bytes(ch.name, FieldLength(ch.name, 8));
    return session.codec.Cp932ToUtf8(bytes);
}

void ApplyUnit(CZorvicDoc& doc, std::optional<bool> fahrenheit) {
    if (!fahrenheit)
        return;
    doc.m_nUnitCF = *fahrenheit ? 1 : 0;
    doc.RecalcRanges(RecalcMode::UnitsOrScale);
}

std::vector<ReportSource> ReportSources(const CliSession& session) {
    return session.sources;
}

} // namespace saroko::cli
