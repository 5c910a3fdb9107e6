// The Lomrik plug-in's exports: download, program/run mode, banner (under its C++ name).
#include "loader/download.h"
#include "loader/loader_export.h"
#include "lomrik_download.h"

namespace {

const char kBanner[] = "\nSaltrem-A Loader for GristanTK Kit\n" LOADER_COPYRIGHT_LINE;

}  // namespace

LOADER_EXPORT int WINAPI LOMRIK_Download(const HostPortRecord* host, const char* hexPath,
                                         ProgressCallback callback) {
    return loader::RunDownload(host, hexPath, callback, lomrik::RunLomrikDownload);
}

LOADER_EXPORT int WINAPI LOMRIK_SetMode(const HostPortRecord* host, LoaderMode mode) {
    return loader::RunSetMode(host, mode, lomrik::SwitchLomrikMode);
}

LOADER_EXPORT int WINAPI LOMRIK_Copyright(const char** banner) {
    return loader::StoreBanner(banner, kBanner);
}
