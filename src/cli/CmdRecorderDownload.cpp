// saroko-cli recorder download: the download dialog's "吸い上げ" on the command line.
#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include <unistd.h>

#include "cli/CliArchive.h"
#include "cli/CmdRecorder.h"
#include "core/archive/Units.h"
#include "core/files/FileIo.h"
#include "core/recorder/Download.h"
#include "platform/ArchiveSetup.h"

namespace saroko::cli {
namespace {

// Ctrl-C in the middle of the bar: the shell's prompt starts on a line of its own.
std::atomic<bool> g_bBarOnLine{false};
extern "C" void OnInterrupt(int sig) {
    if (g_bBarOnLine.load()) {
        const ssize_t ignored = ::write(STDERR_FILENO, "\n", 1);
        (void)ignored;
    }
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

// Shows the header's conditions once and a progress bar of the records on stderr.
class CCliDownloadOwner final : public IDownloadOwner {
public:
    void Attach(const CRecorderDownload* dl, const CliSession* session, const ISerialLine* line) {
        m_pDownload = dl;
        m_pSession = session;
        m_pLine = line;
    }
    // Called at the start of every attempt.
    void ResetStatus() override {
        EndLine();
        m_nReceived = m_nTotal = 0;
        m_pace.Reset();
        ++m_nAttempt;
    }
    void ShowHeader() override {
        if (m_bHeaderShown || !m_pDownload)
            return;
        m_bHeaderShown = true;
        const DownloadStatusTexts t = m_pDownload->StatusTexts();
        std::cerr << t.model << "  Ch.1 " << Name(t.name1) << "  Ch.2 " << Name(t.name2) << "  "
                  << t.start << "  " << t.startMode << "  " << t.recordMode << "  " << t.sensor
                  << "  " << t.interval << "\n";
    }
    void SetTotalText(const std::string& text) override {
        m_nTotal = static_cast<unsigned>(std::strtoul(text.c_str() + 1, nullptr, 10));
        m_pace.Reset();
        if (m_pLine)
            m_pace.Start(m_pLine->TickCount(), m_nTotal);
        m_redraw.Reset();
        m_tenths.Reset();
        Draw();
    }
    void SetReceivedText(const std::string& text) override {
        const unsigned k = static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 10));
        if (k == m_nReceived)
            return;
        m_nReceived = k;
        if (m_pLine)
            m_pace.Update(m_pLine->TickCount(), k);
        Draw();
    }
    void PaintProgress() override { Draw(); }
    void EndLine() {
        if (m_redraw.Held())
            Write();
        m_redraw.Reset();
        if (m_bOnLine)
            std::cerr << "\n" << std::flush;
        m_bOnLine = false;
        g_bBarOnLine.store(false);
    }

private:
    std::string Name(const std::string& cp932) const {
        return m_pSession ? m_pSession->codec.Cp932ToUtf8(cp932)
                          : CBasicCp932Codec().Cp932ToUtf8(cp932);
    }
    // On a terminal the line is redrawn in place and a few times a second are plenty; a pipe
    // or a file gets a line of its own at each tenth of the records.
    void Draw() {
        if (!m_bInPlace) {
            if (m_nTotal > 0 || m_bHeaderShown)
                if (m_tenths.Due(m_nReceived, m_nTotal))
                    Write();
            return;
        }
        if (m_pLine && !m_redraw.Due(m_pLine->TickCount(), progress, m_nReceived >= m_nTotal))
            return;
        Write();
    }
    void Write() {
        // Set before the text goes out: an interrupt may come the moment it has.
        g_bBarOnLine.store(true);
        // The line goes out whole: stderr is unbuffered, and a write for each piece cost
        // more than all the rest of a record's work.
        const int filled = std::clamp(progress, 0, steps);
        std::string line = m_bInPlace ? "\r[" : "[";
        line.append(static_cast<std::size_t>(filled), '#');
        line.append(static_cast<std::size_t>(steps - filled), '.');
        line += "] " + FormatRecordCounts(m_nReceived, m_nTotal);
        if (const std::string left = FormatTimeLeft(m_pace.SecondsLeft()); !left.empty())
            line += "  " + left;
        if (m_nAttempt > 1)
            line += "  " + FormatAttempt(m_nAttempt, kBlockAttempts);
        if (!m_bInPlace) {
            std::cerr << line + "\n" << std::flush;
            g_bBarOnLine.store(false);
            return;
        }
        std::cerr << line << std::flush;
        m_bOnLine = true;
    }

    const CRecorderDownload* m_pDownload = nullptr;
    const CliSession* m_pSession = nullptr;
    const ISerialLine* m_pLine = nullptr;
    CDownloadPace m_pace;
    CProgressRedraw m_redraw;
    CProgressTenths m_tenths;
    const bool m_bInPlace = ::isatty(STDERR_FILENO) == 1;
    unsigned m_nReceived = 0, m_nTotal = 0;
    int m_nAttempt = 0;
    bool m_bHeaderShown = false;
    bool m_bOnLine = false;
};

// Messages start on a line of their own, below the progress bar.
class CBarAwareSink final : public IMessageSink {
public:
    CBarAwareSink(IMessageSink& inner, CCliDownloadOwner& owner) : m_inner(inner), m_owner(owner) {}
    int ShowMessage(int id, std::string_view extra = {}) override {
        m_owner.EndLine();
        return m_inner.ShowMessage(id, extra);
    }

private:
    IMessageSink& m_inner;
    CCliDownloadOwner& m_owner;
};

bool ParseTargets(const std::string& text, int& t1, int& t2) {
    char extra = 0;
    return std::sscanf(text.c_str(), "%d,%d%c", &t1, &t2, &extra) == 2 && t1 >= 1 && t1 <= 8 &&
           t2 >= 1 && t2 <= 8;
}

} // namespace

void DeclareRecorderDownload(CVerbOptions& o) {
    AddLinkOptions(o);
    o.AddValue("into");
    o.AddValue("unit");
    o.AddOutput();
}

int RunRecorderDownload(const CVerbOptions& o) {
    const std::string& out = o.Output();
    if (out.empty())
        return o.Fail("download needs -o OUT.klg");
    // The whole download is wasted when its file cannot be written afterwards.
    if (GetFileKind(out) != kKindKlg) {
        PrintMessage(msg::kWrongExtension, "\n" + out);
        return kExitFailed;
    }
    if (!CanWriteFile(out)) {
        PrintMessage(IsReadOnlyFile(out) ? msg::kReadOnlyFile : msg::kSaveFailed, "\n" + out);
        return kExitFailed;
    }
    int t1 = 0, t2 = 0;
    const auto into = o.Value("into");
    if (into && !ParseTargets(*into, t1, t2))
        return o.Fail("--into: two channel numbers 1..8, e.g. 3,4");

    // The unit is checked before the recorder is woken: a download is long to repeat.
    int unit = 0;
    if (const auto name = o.Value("unit")) {
        archive::CArchiveSession& a = CliArchive();
        const archive::Unit* u = a.Enabled() ? archive::LoadUnits(a).FindByName(*name) : nullptr;
        if (!u) {
            std::cerr << "saroko-cli recorder: "
                      << archive::UnitResultMessage(a.Enabled() ? archive::UnitResult::kNoSuchUnit
                                                                : archive::UnitResult::kNoArchive)
                      << " (" << *name << ")\n";
            return kExitFailed;
        }
        unit = u->id;
    }

    RecorderLink link;
    if (!SetUpLink(o, link))
        return kExitUsage;
    CZorvicDoc& doc = *link.session->doc;
    if (!LoadFiles(*link.session, o.Files()))
        return kExitFailed;
    if (!into)
        DefaultTargets(doc, t1, t2);

    CCliDownloadOwner owner;
    CBarAwareSink sink(*link.services.sink, owner);
    CommServices services = link.services;
    services.sink = &sink;
    CRecorderDownload download(services, doc, owner);
    owner.Attach(&download, link.session.get(), link.services.line);
    std::signal(SIGINT, OnInterrupt);
    const int r = download.Run(t1, t2);
    owner.EndLine();
    std::signal(SIGINT, SIG_DFL);
    if (r != 0)
        return r == CRecorderDownload::kDownloadStopped ? kExitFailed : ExitFor(link, r);
    if (!download.KeptPath().empty()) {
        std::cout << "kept: " << download.KeptPath() << std::endl;
        const archive::Recording r = RecordDownload(CliArchive(), download.KeptPath(),
                                                    link.kept->Path(), link.session->codec);
        link.session->archive->Downloaded(r, download.KeptPath());
        if (unit > 0)
            archive::AssignRecording(CliArchive(), archive::LoadUnits(CliArchive()), r.sha256, unit,
                                     archive::kAssignedDownload);
        SayArchiveMessage();
    }
    if (doc.SaveKlgFile(0, out) != kFileOk) {
        PrintMessage(msg::kSaveFailed, "\n" + out);
        return kExitFailed;
    }
    for (int t : {t1, t2}) {
        const ChannelRecord& ch = *doc.GetChannel(t);
        std::cout << "Ch." << t << " " << ChannelNameUtf8(*link.session, ch) << ": "
                  << ch.sampleCount << " samples from " << FormatLocalDateTime(ch.startTime)
                  << ", every " << ch.interval << " s\n";
        if (t1 == t2)
            break;
    }
    return kExitOk;
}

} // namespace saroko::cli
