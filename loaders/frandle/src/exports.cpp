// The Frandle plug-in's exports: download, the offer it does not make, program/run mode, banner.
#include "frandle_download.h"
#include "loader/download.h"
#include "loader/loader_export.h"

namespace {

// The only banner without the maker's copyright line.
const char kBanner[] = "\nBrontal-E Loader Rev. 1.02\n";

}  // namespace

LOADER_EXPORT int WINAPI FRANDLE_Download(const HostPortRecord* host, const char* hexPath,
                                          ProgressCallback callback) {
    return loader::RunDownload(host, hexPath, callback, frandle::RunFrandleDownload);
}

LOADER_EXPORT int WINAPI FRANDLE_HDD_Download(const HostPortRecord*, const char*,
                                              ProgressCallback) {
    return LDR_ERR_UNSUPPORTED;
}

LOADER_EXPORT int WINAPI FRANDLE_SetMode(const HostPortRecord* host, LoaderMode mode) {
    return loader::RunSetMode(host, mode, frandle::SwitchFrandleMode);
}

LOADER_EXPORT int WINAPI FRANDLE_Copyright(const char** banner) {
    return loader::StoreBanner(banner, kBanner);
}
