# Shared build settings and the small functions every folder uses to declare its targets.

set(TV_WARNINGS -Wall -Wextra -Wpedantic -Wno-unused-parameter -Wno-missing-field-initializers)

if(TV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# tv_library(<name> [SOURCES_DIR <dir>] [DEPS <targets...>] [PUBLIC_DEPS <targets...>])
# A static library from every .cpp in the folder (not below it). Headers are included as
# "platform/rtl/codepage.h" and the like: the include root is src/.
function(tv_library name)
    cmake_parse_arguments(ARG "" "SOURCES_DIR" "DEPS;PUBLIC_DEPS" ${ARGN})
    if(NOT ARG_SOURCES_DIR)
        set(ARG_SOURCES_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${ARG_SOURCES_DIR}/*.cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR})
    target_compile_options(${name} PRIVATE ${TV_WARNINGS})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE ${ARG_DEPS})
endfunction()

# tv_test(<name> [SHARDS <n>] [DEPS <targets...>] [SOURCES <files...>] [LABELS <labels...>])
# A GoogleTest program from every .cpp in the current test folder (or the SOURCES given), run by
# ctest as one test. TV_SOURCE_DIR and TV_FIXTURES_DIR point the tests at the tree.
# SHARDS n (n > 1) runs a long program as n ctest tests <name>_1 ... <name>_n, each a share of its
# cases (GoogleTest's sharding), so that ctest -j runs them side by side.
# LABELS puts the ctest labels given on each of its tests (`ctest -L import` runs one suite family).
find_package(GTest REQUIRED)
function(tv_test name)
    cmake_parse_arguments(ARG "" "SHARDS" "DEPS;SOURCES;LABELS" ${ARGN})
    if(NOT ARG_SOURCES)
        file(GLOB ARG_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_compile_options(${name} PRIVATE ${TV_WARNINGS})
    target_compile_definitions(${name} PRIVATE
        TV_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        TV_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
        TV_BINARY_DIR="${PROJECT_BINARY_DIR}")
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
    set(env "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1")
    set(tests)
    if(ARG_SHARDS AND ARG_SHARDS GREATER 1)
        foreach(index RANGE 1 ${ARG_SHARDS})
            math(EXPR zero_based "${index} - 1")
            add_test(NAME ${name}_${index} COMMAND ${name})
            set_tests_properties(${name}_${index} PROPERTIES ENVIRONMENT
                "${env};GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${zero_based}")
            list(APPEND tests ${name}_${index})
        endforeach()
    else()
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
        list(APPEND tests ${name})
    endif()
    if(ARG_LABELS)
        set_tests_properties(${tests} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()

# tv_gui_test(<name> [SCREENSHOT] [DEPS <targets...>] [SOURCES <files...>])
# A test program (as tv_test) of windows and controls: it runs on the offscreen platform, freed
# memory is overwritten (so that the toolkit, built without the sanitizer, fails on a widget it goes
# on with after we freed it), and the toolkit's own lasting allocations are not leaks. SCREENSHOT
# labels it "screenshot": `make screenshots` runs it on a virtual X screen, where the pictures of
# tests/support/screenshot.h are saved.
function(tv_gui_test name)
    cmake_parse_arguments(ARG "SCREENSHOT" "" "DEPS;SOURCES" ${ARGN})
    find_package(Qt6 REQUIRED COMPONENTS Widgets Test)
    tv_test(${name} DEPS ${ARG_DEPS} Qt6::Widgets Qt6::Test SOURCES ${ARG_SOURCES})
    set(supp ${PROJECT_SOURCE_DIR}/tests/platform/gui/lsan.supp)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT
        "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1:max_free_fill_size=1048576:free_fill_byte=170;LSAN_OPTIONS=suppressions=${supp}")
    if(ARG_SCREENSHOT)
        set_tests_properties(${name} PROPERTIES LABELS screenshot)
    endif()
endfunction()

# tv_bench(<name> [DEPS <targets...>] [SOURCES <files...>]): a Google Benchmark program.
function(tv_bench name)
    cmake_parse_arguments(ARG "" "" "DEPS;SOURCES" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
    set_property(GLOBAL APPEND PROPERTY TV_BENCHMARKS ${name})
endfunction()

# Adds every direct subfolder that holds a CMakeLists.txt (tests/, bench/, tools/ grow this way).
function(tv_add_subfolders)
    file(GLOB children LIST_DIRECTORIES true RELATIVE ${CMAKE_CURRENT_SOURCE_DIR}
         CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT children)
    foreach(child IN LISTS children)
        if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${child}/CMakeLists.txt)
            add_subdirectory(${child})
        endif()
    endforeach()
endfunction()

# tv_fuzz(<name> SOURCES <files...> [DEPS <targets...>] [SEEDS <dirs...>] [RUNS <n>])
# A fuzz target (a file defining LLVMFuzzerTestOneInput) whose corpus is tests/fixtures/fuzz/<name>;
# SEEDS are further folders of sample inputs it starts from. In the test suite it replays the corpus
# and the seeds, then a bounded number of seeded mutations of them, under the sanitizers. With
# TV_LIBFUZZER=ON (clang) every library is built with coverage feedback and the target links
# libFuzzer: `make fuzz` runs each target for a while and merges into its corpus the inputs that
# reached new code (scripts/run-fuzz reads the <build>/fuzz/<name>.target files written here).
option(TV_LIBFUZZER "Build fuzz targets against libFuzzer, libraries instrumented (clang only)" OFF)
if(TV_LIBFUZZER)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "TV_LIBFUZZER needs clang (make fuzz configures it)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
    add_custom_target(fuzz_targets)
endif()
function(tv_fuzz name)
    cmake_parse_arguments(ARG "" "RUNS" "SOURCES;DEPS;SEEDS;CORPUS" ${ARGN})
    if(NOT ARG_RUNS)
        set(ARG_RUNS 2000)
    endif()
    set(corpus ${PROJECT_SOURCE_DIR}/tests/fixtures/fuzz/${name})
    set(seeds ${ARG_SEEDS} ${ARG_CORPUS})
    if(TV_LIBFUZZER)
        add_executable(${name} ${ARG_SOURCES})
        target_link_options(${name} PRIVATE -fsanitize=fuzzer)
        add_dependencies(fuzz_targets ${name})
        list(JOIN seeds " " seed_text)
        file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/fuzz/${name}.target
             CONTENT "${name}\t$<TARGET_FILE:${name}>\t${corpus}\t${seed_text}\n")
    else()
        add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/fuzz_main.cpp)
        if(TV_BUILD_TESTS)
            add_test(NAME ${name} COMMAND ${name} ${corpus} ${seeds})
            set_tests_properties(${name} PROPERTIES ENVIRONMENT "TV_FUZZ_RUNS=${ARG_RUNS};QT_QPA_PLATFORM=offscreen")
        endif()
    endif()
    target_compile_options(${name} PRIVATE ${TV_WARNINGS})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
endfunction()

include(${CMAKE_CURRENT_LIST_DIR}/TollvanePlugins.cmake)
