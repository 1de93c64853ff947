# libFuzzer targets (clang only): cmake -DADQ_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)

function(adquell_fuzz_target name source)
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE adquell_core)
  target_link_options(${name} PRIVATE ${FUZZ_FLAGS})
endfunction()

adquell_fuzz_target(ini_fuzz tests/fuzz/ini_fuzz.cpp)
adquell_fuzz_target(key_sequence_fuzz tests/fuzz/key_sequence_fuzz.cpp)
target_include_directories(key_sequence_fuzz PRIVATE tests/native)
adquell_fuzz_target(signature_fuzz tests/fuzz/signature_fuzz.cpp)
