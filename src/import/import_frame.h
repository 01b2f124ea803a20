#pragma once
// The frame every import operation of a container shares: the step caption and picture, a nesting
// event item of the caption, a level-1 line for a file without the container and one for an empty
// container, the number of items as the step count, and an error that ends the walk reported at
// level 2 with the result false. Some kinds show no step caption, and some report a file without a
// document element.

#include <string_view>

namespace tv {

struct TImportFrame {
    std::string_view Caption;
    int StepPicture = 0;
    std::string_view Container;
    std::string_view NoContainerText;  // empty: a file without the container is passed over silently
    std::string_view EmptyText;
    bool CountsItems = true;          // the container's children as the step count
    bool ShowsStep = true;            // false: the nesting item alone, the step caption stays as it was
    std::string_view NoDocumentText;  // level 2 for a file without document element; empty: silent
};

}  // namespace tv
