#include "cli/CliArchive.h"

#include <filesystem>
#include <iostream>
#include <memory>

#include "cli/CliCommon.h"
#include "core/archive/ReportProof.h"
#include "platform/ArchiveSetup.h"
#include "platform/QtSettingsStore.h"
#include "platform/SqliteArchiveStore.h"

namespace saroko::cli {
namespace {

bool g_enabled = true;
std::string g_path;
std::unique_ptr<ArchiveHandle> g_handle;

} // namespace

void SetArchiveEnabled(bool enabled) {
    g_enabled = enabled;
}

void SetArchivePath(const std::string& path) {
    g_path = path;
}

std::string CliArchivePath() {
    return g_path.empty() ? ArchiveFilePath() : g_path;
}

archive::CArchiveSession& CliArchive() {
    if (!g_handle) {
        const CQtCp932Codec codec;
        g_handle = std::make_unique<ArchiveHandle>(OpenArchive(g_enabled, codec, CliArchivePath()));
        if (!g_handle->warning.empty())
            std::cerr << "saroko-cli: " << g_handle->warning << "\n";
    }
    return *g_handle->session;
}

void SayArchiveMessage() {
    if (!g_handle)
        return;
    const std::string m = g_handle->session->TakeMessage();
    if (!m.empty())
        std::cerr << "saroko-cli: " << m << "\n";
}

std::vector<ReportSource> RecordOpened(const CliSession& session,
                                       const std::vector<std::string>& files) {
    std::vector<ReportSource> out;
    archive::CArchiveSession& a = CliArchive();
    for (const std::string& path : files) {
        std::optional<archive::Recording> r = DescribeFile(path, session.codec);
        if (!r) {
            out.push_back({path, {}, {}, {}});
            continue;
        }
        // The archive names where the bytes were first seen; the caller's path is this one.
        const archive::Opening o = a.Open(*r);
        if (o.Changed())
            std::cerr << "saroko-cli: " << archive::ChangedFileMessage(r->path, o) << "\n";
        out.push_back(archive::OpenedSource(r->path, o));
    }
    SayArchiveMessage();
    return out;
}

void RecordOutput(const CliSession& session, archive::EventKind kind,
                  const std::vector<ReportSource>& sources, const std::string& output,
                  const std::string& outputBytes) {
    archive::CArchiveSession& a = CliArchive();
    if (!a.Enabled())
        return;
    std::string hash;
    std::string where = output.empty() ? std::string(1, '-') : output;
    if (output.empty()) {
        hash = archive::Sha256Hex(a.Hash(), outputBytes);
    } else {
        hash = Sha256OfFile(output).value_or("");
        std::error_code ec;
        const std::string abs = std::filesystem::absolute(output, ec).string();
        if (!ec)
            where = abs;
    }
    std::string what = where;
    what.append(" sha256:").append(hash);
    // A saved file is a data file of its own: it becomes a recording created by the save.
    if (kind == archive::EventKind::Saved && !output.empty())
        if (std::optional<archive::Recording> r = DescribeFile(output, session.codec))
            if (!a.Find(r->sha256))
                a.Record(archive::EventKind::Created, *r, "saved");
    for (const ReportSource& s : sources)
        if (!archive::EventTarget(s).empty())
            a.RecordAbout(kind, archive::EventTarget(s), {}, {}, what);
    SayArchiveMessage();
}

} // namespace saroko::cli
