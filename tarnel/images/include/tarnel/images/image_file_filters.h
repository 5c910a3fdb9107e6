// The filter list of the image file dialog: the document kinds' own filters, both image types
// together, then every file.
#pragma once

#include <string>
#include <vector>

struct FileFilter {
    std::string name;     // "Bin Files (*.bin)"
    std::string pattern;  // "*.bin"
};

// What one document kind offers: its filter name and its extension with the dot (".bin").
struct DocumentFilter {
    std::string name;
    std::string extension;
};

struct ImageFileFilters {
    std::vector<FileFilter> filters;
    // The first kind's extension without the dot; empty when that kind offers no filter.
    std::string defaultExtension;
};

// The combined entry of both image types.
extern const char* const kBothImageTypesFilterName;  // "Both types (*.bin, *.hex)"
extern const char* const kBothImageTypesPattern;     // "*.bin;*.hex"

// The kinds' filters in the order given (a kind without a name or an extension adds none), then
// both image types, then `allFilesName` with "*.*".
ImageFileFilters BuildImageFileFilters(const std::vector<DocumentFilter>& kinds,
                                       const std::string& allFilesName);

// The filters as the system's file dialog reads them: name and pattern each ended by a NUL, the
// whole list by one more.
std::string JoinFileFilters(const std::vector<FileFilter>& filters);
