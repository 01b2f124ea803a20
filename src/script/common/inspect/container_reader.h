#pragma once
// Reads a compiled-script container into plain records, applying the limits the runtime's loader
// applies, so tools and tests can look inside a container without loading it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tv::script {

struct ContainerType {
    uint8_t code = 0;                // the base code (export flag removed)
    std::string exportName;          // empty when not exported
    std::vector<uint32_t> fields;    // record: field type numbers
    uint32_t elementType = 0;        // arrays
    uint32_t length = 0;             // static array
    int32_t startIndex = 0;          // static array
    uint32_t setBits = 0;            // set
    std::string data;                // class name, procedure-pointer parameter bytes
    std::array<uint8_t, 16> guid{};  // interface
    uint32_t attributeCount = 0;
};

struct ContainerProc {
    uint8_t flags = 0;
    bool external = false;
    std::string name;  // upper case; the export name of a script procedure
    std::string decl;  // host declaration bytes, or the export declaration of a script procedure
    uint32_t codeOffset = 0;
    uint32_t codeLength = 0;
    std::string code;  // script procedures
};

struct ContainerVar {
    uint32_t type = 0;
    std::string exportName;
};

struct Container {
    uint32_t build = 0;
    uint32_t mainProc = 0xFFFFFFFF;
    std::vector<ContainerType> types;
    std::vector<ContainerProc> procs;
    std::vector<ContainerVar> vars;
};

// False with a reason when the bytes are not a container the runtime would accept.
bool ReadContainer(std::string_view bytes, Container& out, std::string& error);

}  // namespace tv::script
