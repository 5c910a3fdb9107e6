// The reload scan's decision for one image.
#include "tarnel/frame_rules/reload_rules.h"

ReloadStep NextReloadStep(const ImageFileState& state) {
    if (!state.hasPath || state.upToDate) {
        return ReloadStep::kSkip;
    }
    if (!state.fileReadable) {
        return state.keptTime == kMissingFileReported ? ReloadStep::kSkip
                                                      : ReloadStep::kReportMissing;
    }
    return ReloadStep::kAskReload;
}
