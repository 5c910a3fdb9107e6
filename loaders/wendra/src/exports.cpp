// The Wendra plug-in's exports: download, program/run mode, banner.
#include "loader/download.h"
#include "loader/loader_export.h"
#include "wendra_download.h"

namespace {

const char kBanner[] = "\nWENDRA Loader\n" LOADER_COPYRIGHT_LINE;

}  // namespace

LOADER_EXPORT int WINAPI WENDRA_Download(const HostPortRecord* host, const char* hexPath,
                                         ProgressCallback callback) {
    return loader::RunDownload(host, hexPath, callback, wendra::RunWendraDownload);
}

LOADER_EXPORT int WINAPI WENDRA_SetMode(const HostPortRecord* host, LoaderMode mode) {
    return loader::RunSetMode(host, mode, wendra::SwitchWendraMode);
}

LOADER_EXPORT int WINAPI WENDRA_Copyright(const char** banner) {
    return loader::StoreBanner(banner, kBanner);
}
