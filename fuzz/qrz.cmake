# QRZ answer reader; included from fuzz/CMakeLists.txt when PARKBOOK_FUZZ is
# on (clang only). The reader is compiled into the target so
# that libFuzzer sees its coverage.
set(PARKBOOK_SRC ${CMAKE_CURRENT_LIST_DIR}/../src)
add_executable(fuzz_qrz ${CMAKE_CURRENT_LIST_DIR}/fuzz_qrz.cpp ${PARKBOOK_SRC}/qrz/qrzxml.cpp)
target_include_directories(fuzz_qrz PRIVATE ${PARKBOOK_SRC})
target_compile_options(fuzz_qrz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz_qrz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_qrz PRIVATE Qt6::Core)
# A short, bounded run for CI over the seeds kept in corpus/qrz; new inputs go
# to the build tree.
set(FUZZ_QRZ_WORK ${CMAKE_CURRENT_BINARY_DIR}/corpus-qrz)
file(MAKE_DIRECTORY ${FUZZ_QRZ_WORK})
add_test(NAME fuzz_qrz_run COMMAND fuzz_qrz -max_total_time=20 -rss_limit_mb=2048
         -max_len=65536 ${FUZZ_QRZ_WORK} ${CMAKE_CURRENT_LIST_DIR}/corpus/qrz)
set_tests_properties(fuzz_qrz_run PROPERTIES TIMEOUT 120)
