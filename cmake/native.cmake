# Native build: the portable code and its unit tests, GoogleTest from the machine.
find_package(GTest REQUIRED)

# The simulated desktop and world the unit tests and the idle benchmark run on.
add_library(native_test_world STATIC tests/native/sim_desktop.cpp)
target_include_directories(native_test_world PUBLIC tests/native)
target_link_libraries(native_test_world PUBLIC adquell_core spotify_sim_model)

add_executable(unit_tests
  tests/native/advert_classifier_test.cpp
  tests/native/client_control_test.cpp
  tests/native/concurrency_test.cpp
  tests/native/detection_loop_test.cpp
  tests/native/filler_player_test.cpp
  tests/native/hotkeys_test.cpp
  tests/native/image_adverts_test.cpp
  tests/native/ini_file_test.cpp
  tests/native/install_test.cpp
  tests/native/key_sequence_test.cpp
  tests/native/log_test.cpp
  tests/native/main_commands_test.cpp
  tests/native/login_watcher_test.cpp
  tests/native/mp3_index_test.cpp
  tests/native/mute_control_test.cpp
  tests/native/options_test.cpp
  tests/native/screen_probes_test.cpp
  tests/native/sim_player_test.cpp
  tests/native/sim_script_test.cpp
  tests/native/star_and_lyrics_test.cpp
  tests/native/title_helpers_test.cpp
  tests/native/window_parking_test.cpp
)
target_link_libraries(unit_tests PRIVATE native_test_world GTest::gtest GTest::gtest_main)
gtest_discover_tests(unit_tests)

add_executable(index_bench tools/bench/index_bench.cpp)
target_link_libraries(index_bench PRIVATE adquell_core)

add_executable(idle_tick_bench tools/bench/idle_tick_bench.cpp)
target_link_libraries(idle_tick_bench PRIVATE native_test_world)
