// What the reload scan does with one open image when the watcher reports a change on disk.
#pragma once

enum class ReloadStep {
    kSkip,           // nothing to ask about
    kAskReload,      // the file is newer than the image: ask whether to read it again
    kReportMissing,  // the file is gone (or unreadable): say so once, keep the image
};

// The time an image keeps once its file's disappearance has been reported. Any file that appears
// again under that name is newer, so it is offered for reloading.
constexpr long kMissingFileReported = -1;

struct ImageFileState {
    bool hasPath = false;       // an image never saved (a read from a chip) has no file
    bool upToDate = true;       // the document's own test against the time it keeps
    bool fileReadable = false;  // the file's time could be read now
    long keptTime = 0;          // the time the document keeps
};

ReloadStep NextReloadStep(const ImageFileState& state);
