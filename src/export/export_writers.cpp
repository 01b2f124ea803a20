#include "export/export_writers.h"

#include "platform/rtl/format.h"

namespace tv {

void TExportWriters::NotBuilt(std::string_view writer) {
    throw Exception(Format(kNotYetImplemented, {"TMainDM." + std::string(writer)}));
}

}  // namespace tv
