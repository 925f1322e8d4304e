#include "cli/CliArchive.h"

#include <iostream>
#include <memory>

#include "platform/ArchiveSetup.h"
#include "platform/QtSettingsStore.h"

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

} // namespace saroko::cli
