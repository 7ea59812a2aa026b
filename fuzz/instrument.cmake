# Included by the top-level CMakeLists.txt when ZEN_BUILD_FUZZERS is on, before
# any target is made: the whole client is built with coverage for libFuzzer and
# with AddressSanitizer and UndefinedBehaviorSanitizer, so a fault anywhere in
# the core stops the fuzzer on the input that caused it.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZEN_BUILD_FUZZERS needs clang: configure with -DCMAKE_CXX_COMPILER=clang++-14")
endif()

add_compile_options(
    -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=undefined
    -fno-omit-frame-pointer
)
add_link_options(-fsanitize=address,undefined)
