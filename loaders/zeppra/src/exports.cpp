// The Zeppra plug-in's exports: download, program/run mode, banner.
#include "loader/download.h"
#include "loader/loader_export.h"
#include "zeppra_download.h"

namespace {

const char kBanner[] = "\nSaltrem-A Loader for ZEPPRA\n" LOADER_COPYRIGHT_LINE;

}  // namespace

LOADER_EXPORT int WINAPI ZEPPRA_Download(const HostPortRecord* host, const char* hexPath,
                                         ProgressCallback callback) {
    return loader::RunDownload(host, hexPath, callback, zeppra::RunZeppraDownload);
}

LOADER_EXPORT int WINAPI ZEPPRA_SetMode(const HostPortRecord* host, LoaderMode mode) {
    return loader::RunSetMode(host, mode, zeppra::SwitchZeppraMode);
}

LOADER_EXPORT int WINAPI ZEPPRA_Copyright(const char** banner) {
    return loader::StoreBanner(banner, kBanner);
}
