// The image file dialog's filter list.
#include "tarnel/images/image_file_filters.h"

const char* const kBothImageTypesFilterName = "Both types (*.bin, *.hex)";
const char* const kBothImageTypesPattern = "*.bin;*.hex";

ImageFileFilters BuildImageFileFilters(const std::vector<DocumentFilter>& kinds,
                                       const std::string& allFilesName) {
    ImageFileFilters result;
    bool first = true;
    for (const DocumentFilter& kind : kinds) {
        const bool offered = !kind.name.empty() && !kind.extension.empty();
        if (offered) {
            result.filters.push_back({kind.name, "*" + kind.extension});
            if (first) {
                result.defaultExtension =
                    kind.extension[0] == '.' ? kind.extension.substr(1) : kind.extension;
            }
        }
        first = false;
    }
    result.filters.push_back({kBothImageTypesFilterName, kBothImageTypesPattern});
    result.filters.push_back({allFilesName, "*.*"});
    return result;
}

std::string JoinFileFilters(const std::vector<FileFilter>& filters) {
    std::string joined;
    for (const FileFilter& filter : filters) {
        joined += filter.name;
        joined.push_back('\0');
        joined += filter.pattern;
        joined.push_back('\0');
    }
    joined.push_back('\0');
    return joined;
}
