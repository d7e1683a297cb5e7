# Sanitized builds (the test build): AddressSanitizer with leak checks and UndefinedBehaviorSanitizer, every
# finding fatal. Applies to every target defined after this file, the stand-in libraries and build-time tools too.
#
# The fuzz targets (libFuzzer) need clang. A sanitized clang build links them too, so that the test run can
# replay their seeds; a fuzz build (TOVAREL_FUZZ) also gives every object libFuzzer's coverage, for fuzzing.
option(TOVAREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(TOVAREL_FUZZ "Build for fuzzing: sanitized, with libFuzzer's coverage everywhere (needs clang)" OFF)

set(TOVAREL_FUZZ_TARGETS OFF)
if(TOVAREL_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "TOVAREL_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    set(TOVAREL_SANITIZE ON)
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(TOVAREL_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    # Every executable carries the default options and the leak suppressions, so that the tools run at build
    # time, the tests and the processes they start behave alike however they are started.
    add_library(tovarel_sanitizer_defaults OBJECT ${CMAKE_CURRENT_LIST_DIR}/SanitizerDefaults.cpp)
    link_libraries($<$<STREQUAL:$<TARGET_PROPERTY:TYPE>,EXECUTABLE>:tovarel_sanitizer_defaults>)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        set(TOVAREL_FUZZ_TARGETS ON)
    else()
        message(STATUS "The fuzz targets need clang: not built")
    endif()
endif()
