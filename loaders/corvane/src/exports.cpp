// The Corvane plug-in's exports: download and banner (the board has no mode to switch).
#include "corvane_download.h"
#include "loader/download.h"
#include "loader/loader_export.h"

namespace {

const char kBanner[] = "\nBrontal-G Program Loader\n" LOADER_COPYRIGHT_LINE;

}  // namespace

LOADER_EXPORT int WINAPI CORVANE_Download(const HostPortRecord* host, const char* hexPath,
                                          ProgressCallback callback) {
    return loader::RunDownload(host, hexPath, callback, corvane::RunCorvaneDownload);
}

LOADER_EXPORT int WINAPI CORVANE_Copyright(const char** banner) {
    return loader::StoreBanner(banner, kBanner);
}
