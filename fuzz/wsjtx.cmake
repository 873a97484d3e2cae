# libFuzzer target for the WSJT-X datagram readers; included from
# fuzz/CMakeLists.txt when PARKBOOK_FUZZ is on (clang only). The codec is
# compiled into the target so that its reads are instrumented too.
add_executable(fuzz_wsjtx ${CMAKE_CURRENT_LIST_DIR}/fuzz_wsjtx.cpp
               ${PROJECT_SOURCE_DIR}/src/wsjtx/wsjtxcodec.cpp
               ${PROJECT_SOURCE_DIR}/src/adif/adifcodec.cpp)
target_include_directories(fuzz_wsjtx PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_compile_options(fuzz_wsjtx PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz_wsjtx PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_wsjtx PRIVATE Qt6::Core)
# A short, bounded run for CI over the seeds kept in corpus/wsjtx; new inputs
# go to the build tree.
set(FUZZ_WSJTX_WORK ${CMAKE_CURRENT_BINARY_DIR}/corpus-wsjtx)
file(MAKE_DIRECTORY ${FUZZ_WSJTX_WORK})
add_test(NAME fuzz_wsjtx COMMAND fuzz_wsjtx -max_total_time=20 -max_len=4096
         ${FUZZ_WSJTX_WORK} ${CMAKE_CURRENT_LIST_DIR}/corpus/wsjtx)
set_tests_properties(fuzz_wsjtx PROPERTIES TIMEOUT 120)

# A whole Parkbook behind the dispatch: built only together with
# PARKBOOK_SANITIZE, so that the program's own code is under AddressSanitizer
# too; coverage guidance reaches it through fuzzer-no-link.
if(PARKBOOK_SANITIZE)
    target_compile_options(parkbook_core PRIVATE -fsanitize=fuzzer-no-link)
    target_compile_options(parkbook_ui PRIVATE -fsanitize=fuzzer-no-link)
    add_executable(fuzz_wsjtx_dispatch ${CMAKE_CURRENT_LIST_DIR}/fuzz_wsjtx_dispatch.cpp)
    target_link_libraries(fuzz_wsjtx_dispatch PRIVATE parkbook_testsupport)
    target_compile_options(fuzz_wsjtx_dispatch PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(fuzz_wsjtx_dispatch PRIVATE -fsanitize=fuzzer,address,undefined)
    # A short, bounded run over the seeds. New inputs go to the first folder
    # (in the build tree); the seeds in the source tree stay.
    set(FUZZ_DISPATCH_WORK ${CMAKE_CURRENT_BINARY_DIR}/corpus-wsjtx-dispatch)
    file(MAKE_DIRECTORY ${FUZZ_DISPATCH_WORK})
    add_test(NAME fuzz_wsjtx_dispatch
        COMMAND fuzz_wsjtx_dispatch -max_total_time=20 -max_len=4096 -rss_limit_mb=2048
                ${FUZZ_DISPATCH_WORK} ${CMAKE_CURRENT_LIST_DIR}/corpus/wsjtx)
    set_tests_properties(fuzz_wsjtx_dispatch PROPERTIES TIMEOUT 120
        ENVIRONMENT "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan-gui.supp")
endif()
