// Any bytes: loading either raises an XML error or gives a tree that saves, loads back to the same
// tree and saves to the same bytes again.

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/xml/xml_document.h"

namespace {

void Check(bool ok, const char* what) {
    if (ok) return;
    std::cerr << "fuzz_xml_load: " << what << "\n";
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tv::TXMLDocument first;
    try {
        first.LoadFromBytes(bytes);
    } catch (const tv::EXMLDocError&) {
        return 0;
    }
    std::string saved;
    try {
        saved = first.SaveToBytes();
    } catch (const tv::EXMLDocError&) {
        return 0;  // an encoding we read but do not write, or a name it cannot carry
    }
    tv::TXMLDocument second;
    try {
        second.LoadFromBytes(saved);
    } catch (const tv::EXMLDocError& e) {
        std::cerr << e.what() << "\n";
        Check(false, "a saved document does not load");
    }
    Check(second.SaveToBytes() == saved, "saving a loaded copy changes the bytes");
    Check(second.SaveToXML() == first.SaveToXML(), "the loaded copy differs");
    return 0;
}
