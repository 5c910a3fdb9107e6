// The Tuvmar plug-in's exports: download, run command, banner.
#include "loader/download.h"
#include "loader/loader_export.h"
#include "tuvmar_download.h"

namespace {

const char kBanner[] = "\nTUVMAR Loader for the PELMOR ROM Monitor\n" LOADER_COPYRIGHT_LINE;

}  // namespace

LOADER_EXPORT int WINAPI TUVMAR_Download(const HostPortRecord* host, const char* hexPath,
                                         ProgressCallback callback) {
    return loader::RunDownload(host, hexPath, callback, tuvmar::RunTuvmarDownload);
}

LOADER_EXPORT int WINAPI TUVMAR_SetMode(const HostPortRecord* host, LoaderMode mode) {
    return loader::RunSetMode(host, mode, tuvmar::SwitchTuvmarMode);
}

LOADER_EXPORT int WINAPI TUVMAR_Copyright(const char** banner) {
    return loader::StoreBanner(banner, kBanner);
}
