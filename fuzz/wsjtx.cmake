# libFuzzer target for the WSJT-X datagram readers; included from
# fuzz/CMakeLists.txt when PARKBOOK_FUZZ is on (clang only). The codec is
# compiled into the target so that its reads are instrumented too.
add_executable(fuzz_wsjtx ${CMAKE_CURRENT_LIST_DIR}/fuzz_wsjtx.cpp
               ${PROJECT_SOURCE_DIR}/src/wsjtx/wsjtxcodec.cpp)
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
