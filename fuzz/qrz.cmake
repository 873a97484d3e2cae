# QRZ answer reader. Include this file from fuzz/CMakeLists.txt when
# PARKBOOK_FUZZ is on (clang only). The reader is compiled into the target so
# that libFuzzer sees its coverage.
set(PARKBOOK_SRC ${CMAKE_CURRENT_LIST_DIR}/../src)
add_executable(fuzz_qrz ${CMAKE_CURRENT_LIST_DIR}/fuzz_qrz.cpp ${PARKBOOK_SRC}/qrz/qrzxml.cpp)
target_include_directories(fuzz_qrz PRIVATE ${PARKBOOK_SRC})
target_compile_options(fuzz_qrz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(fuzz_qrz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(fuzz_qrz PRIVATE Qt6::Core)
