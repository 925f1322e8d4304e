#include "cli/CliCommon.h"

#include <QCoreApplication>
#include <iostream>

#include "cli/CliArchive.h"
#include "core/archive/ArchiveFiles.h"
#include "platform/ArchiveSetup.h"

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

void CCliArchiveLink::OnFileLoaded(const std::string& path, bool appended,
                                   std::span<const uint8_t> bytes) {
    if (!m_pArchive)
        return;
    const archive::Opening o = m_pArchive->Loaded(path, appended, bytes);
    if (o.Changed())
        std::cerr << "saroko-cli: " << archive::ChangedFileMessage(archive::PlaceOf(path), o)
                  << "\n";
    SayArchiveMessage();
}

void CCliArchiveLink::OnFileSaved(const std::string& path, std::span<const uint8_t> bytes) {
    if (!m_pArchive)
        return;
    m_pArchive->Saved(path, bytes);
    SayArchiveMessage();
}

void CCliArchiveLink::OnTextExported(const std::string& path) {
    if (!m_pArchive)
        return;
    m_pArchive->Produced(archive::EventKind::Exported, path);
    SayArchiveMessage();
}

bool LoadFiles(CliSession& session, const std::vector<std::string>& files) {
    if (!session.archive) {
        const CQtCp932Codec& codec = session.codec;
        session.archive = std::make_unique<archive::CDocumentArchive>(
            CliArchive(), *session.doc, codec,
            [&codec](const std::string& p) { return DescribeFile(p, codec); }, &Sha256OfFile);
        session.link.Attach(session.archive.get());
        session.doc->SetObserver(&session.link);
    }
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
    return session.archive ? session.archive->Shown() : std::vector<ReportSource>{};
}

void RecordMade(CliSession& session, archive::EventKind kind, const std::string& output,
                const std::vector<ReportSource>& named, std::string_view written) {
    if (!session.archive)
        return;
    session.archive->Produced(kind, output, named, written);
    SayArchiveMessage();
}

} // namespace saroko::cli
