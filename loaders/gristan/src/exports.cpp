// The Gristan plug-in's exports: download, program/run mode, banner.
#include "gristan_download.h"
#include "loader/download.h"
#include "loader/loader_export.h"

namespace {

const char kBanner[] = "\nSaltrem-A Loader for GRISTAN\n" LOADER_COPYRIGHT_LINE;

}  // namespace

LOADER_EXPORT int WINAPI GRISTAN_Download(const HostPortRecord* host, const char* hexPath,
                                          ProgressCallback callback) {
    return loader::RunDownload(host, hexPath, callback, gristan::RunGristanDownload);
}

LOADER_EXPORT int WINAPI GRISTAN_SetMode(const HostPortRecord* host, LoaderMode mode) {
    return loader::RunSetMode(host, mode, gristan::SwitchGristanMode);
}

LOADER_EXPORT int WINAPI GRISTAN_Copyright(const char** banner) {
    return loader::StoreBanner(banner, kBanner);
}
