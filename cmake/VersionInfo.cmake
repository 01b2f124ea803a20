# Version information embedded in a program or library: four numbers and the version texts in an
# ELF section ".tvversion", laid out as src/platform/rtl/version_info.h describes, where the run-time
# library reads it (ReadFileVersion) without loading the file.
#
# tv_embed_version(<target> VERSION a.b.c.d [PRODUCT_VERSION a.b.c.d]
#                  [COMPANY text] [PRODUCT text] [DESCRIPTION text] [COPYRIGHT text] [TRADEMARKS text]
#                  [COMMENTS text] [INTERNAL_NAME text] [ORIGINAL_FILENAME text] [PRIVATE_BUILD text]
#                  [SPECIAL_BUILD text] [INTERNET text] [EMAIL text])
#
# "FileVersion" and "ProductVersion" are always written (the product version defaults to VERSION);
# the other texts only when given. Texts are UTF-8 and may not hold ";". The block keeps 64 spare
# bytes so that PatchFileVersion can write longer version texts into a copy.

# The keywords, and the version-resource key each one fills, in the order the block lists them.
set(TV_VERSION_TEXT_KEYS
    COMMENTS Comments
    INTERNAL_NAME InternalName
    PRODUCT ProductName
    PRODUCT_VERSION ProductVersion
    COMPANY CompanyName
    COPYRIGHT LegalCopyright
    TRADEMARKS LegalTrademarks
    PRIVATE_BUILD PrivateBuild
    VERSION FileVersion
    DESCRIPTION FileDescription
    ORIGINAL_FILENAME OriginalFilename
    SPECIAL_BUILD SpecialBuild
    INTERNET Internet
    EMAIL E-mail)

# Checks "a.b.c.d" (each 0..65535) and gives "a, b, c, d" for a C initializer.
function(_tv_version_initializer text out)
    if(NOT text MATCHES "^([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)$")
        message(FATAL_ERROR "tv_embed_version: \"${text}\" is not a version number a.b.c.d")
    endif()
    set(parts "")
    foreach(i 1 2 3 4)
        if(CMAKE_MATCH_${i} GREATER 65535)
            message(FATAL_ERROR "tv_embed_version: \"${text}\" has a part above 65535")
        endif()
        math(EXPR n "${CMAKE_MATCH_${i}}")  # drops leading zeros, which C would read as octal
        list(APPEND parts ${n})
    endforeach()
    list(JOIN parts ", " joined)
    set(${out} "${joined}" PARENT_SCOPE)
endfunction()

function(tv_embed_version target)
    set(keywords "")
    list(LENGTH TV_VERSION_TEXT_KEYS n)
    math(EXPR last "${n} - 1")
    foreach(i RANGE 0 ${last} 2)
        list(GET TV_VERSION_TEXT_KEYS ${i} word)
        list(APPEND keywords ${word})
    endforeach()
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "${keywords}" "")
    if(ARG_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "tv_embed_version: unexpected arguments ${ARG_UNPARSED_ARGUMENTS}")
    endif()
    if(NOT ARG_VERSION)
        message(FATAL_ERROR "tv_embed_version: VERSION a.b.c.d is required")
    endif()
    if(NOT ARG_PRODUCT_VERSION)
        set(ARG_PRODUCT_VERSION "${ARG_VERSION}")
    endif()
    _tv_version_initializer("${ARG_VERSION}" file_numbers)
    _tv_version_initializer("${ARG_PRODUCT_VERSION}" product_numbers)

    # The string area as one C literal: "key" "\0" "value" "\0" ...
    set(strings "")
    foreach(i RANGE 0 ${last} 2)
        list(GET TV_VERSION_TEXT_KEYS ${i} word)
        math(EXPR j "${i} + 1")
        list(GET TV_VERSION_TEXT_KEYS ${j} key)
        if(DEFINED ARG_${word})
            set(value "${ARG_${word}}")
            string(REPLACE "\\" "\\\\" value "${value}")
            string(REPLACE "\"" "\\\"" value "${value}")
            string(REPLACE "\n" "\\n" value "${value}")
            string(APPEND strings " \\\n    \"${key}\" \"\\0\" \"${value}\" \"\\0\"")
        endif()
    endforeach()

    set(source "${CMAKE_CURRENT_BINARY_DIR}/${target}_tvversion.c")
    file(CONFIGURE OUTPUT "${source}" @ONLY CONTENT [=[
/* The version information of @target@, written by tv_embed_version (cmake/VersionInfo.cmake). */
#include <stdint.h>

_Static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the version block is little-endian");

#define TV_VERSION_STRINGS @strings@

struct tv_version_block {
    char magic[8];
    uint32_t size;
    uint16_t file_version[4];
    uint16_t product_version[4];
    uint32_t used;
    char strings[(sizeof(TV_VERSION_STRINGS) - 1 + 64 + 7) / 8 * 8];
};
_Static_assert(sizeof(struct tv_version_block) % 8 == 0, "the block size is a multiple of 8");

__attribute__((section(".tvversion"), used, aligned(8)))
static const struct tv_version_block tv_version_block = {
    {'T', 'V', 'V', 'E', 'R', 'S', '0', '1'},
    sizeof(struct tv_version_block),
    {@file_numbers@},
    {@product_numbers@},
    sizeof(TV_VERSION_STRINGS) - 1,
    TV_VERSION_STRINGS,
};
]=])
    target_sources(${target} PRIVATE "${source}")
endfunction()
