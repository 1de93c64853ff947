# Windows build: the Win32 side, the program and the Windows-side tests, run
# under Wine through CMAKE_CROSSCOMPILING_EMULATOR.

# Only Windows' own DLLs at run time: libgcc, libstdc++ and winpthread linked in.
add_link_options(-static)

add_library(adquell_win32 STATIC
  app/advert_timers_win32.cpp
  app/dpi_layout_win32.cpp
  app/hotkey_window_win32.cpp
  base/log_win32.cpp
  install/removal_win32.cpp
  music/mp3_folder_dialogs_win32.cpp
  platform/desktop_win32.cpp
  platform/installer_system_win32.cpp
  platform/keyboard_win32.cpp
  platform/label_font_win32.cpp
  platform/main_controls_win32.cpp
  platform/media_graph_win32.cpp
  platform/signature_check_win32.cpp
  platform/spotify_screen_win32.cpp
  platform/worker_thread_win32.cpp
)
target_link_libraries(adquell_win32 PUBLIC adquell_core user32 gdi32 shell32 ole32 oleaut32 strmiids uuid comctl32
  urlmon wininet bcrypt advapi32 version)
include(cmake/update_key.cmake)

# GoogleTest compiled from its sources with the cross compiler (Debian's
# googletest package by default).
set(ADQ_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's source folder, built with the cross compiler")
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ADQ_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The Wine-side rig: the simulated client driven as another process, and
# child processes ended with their tests, and the probe of whether a window
# answers; the tests, benchmarks, demo and matrix link it.
add_library(win32_test_rig STATIC tests/win32/sim_rig.cpp tests/win32/child_process.cpp tests/win32/prefix_snapshot.cpp
  tests/win32/answer_probe.cpp)
target_include_directories(win32_test_rig PUBLIC tests/win32)
target_link_libraries(win32_test_rig PUBLIC adquell_win32 user32 gdi32 psapi advapi32)

# Test and tool programs run in UTF-8, as the program does where Windows
# honours its manifest: the titles, labels and paths they compare are its bytes.
set(UTF8_MANIFEST_PATH ${CMAKE_SOURCE_DIR}/tests/win32/utf8_code_page.manifest)
configure_file(tests/win32/utf8_code_page.rc.in ${CMAKE_BINARY_DIR}/utf8_code_page.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/utf8_code_page.rc PROPERTIES OBJECT_DEPENDS ${UTF8_MANIFEST_PATH})
function(adquell_utf8_code_page target)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/utf8_code_page.rc)
endfunction()

# The simulated Spotify client, named as the real one so that the process
# lookup by image name finds it.
add_executable(spotify_sim WIN32 tools/spotify_sim/spotify_sim_win32.cpp)
set_target_properties(spotify_sim PROPERTIES OUTPUT_NAME Spotify)
adquell_utf8_code_page(spotify_sim)
target_link_libraries(spotify_sim PRIVATE spotify_sim_model adquell_core user32 gdi32)

# Helper programs the Windows-side tests start as other processes.
add_executable(probe_target WIN32 tests/win32/probe_target.cpp)
target_link_libraries(probe_target PRIVATE adquell_core user32 gdi32)
adquell_utf8_code_page(probe_target)

# Test MP3s, generated at build time (sox and lame), never committed.
set(TEST_MEDIA ${CMAKE_BINARY_DIR}/bin/media)
add_custom_command(OUTPUT ${TEST_MEDIA}/tone-a.mp3 ${TEST_MEDIA}/corrupt.mp3
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/make-test-mp3s.sh ${TEST_MEDIA}
  DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-test-mp3s.sh)
add_custom_target(test_media DEPENDS ${TEST_MEDIA}/tone-a.mp3 ${TEST_MEDIA}/corrupt.mp3)

# The update tests' stand-in checks updates with a throw-away key; it and the
# test server are signed with it as they are built (a signed update, and a
# signature made for another file).
adquell_test_update_key(TEST_UPDATE_PRIVATE TEST_UPDATE_PUBLIC)
adquell_update_key_source(TEST_UPDATE_KEY_SOURCE test_update_key ${TEST_UPDATE_PUBLIC})
function(adquell_sign_after_build target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND openssl dgst -sha256 -sign ${TEST_UPDATE_PRIVATE} -out $<TARGET_FILE:${target}>.sig $<TARGET_FILE:${target}>)
endfunction()
add_executable(install_driver tests/win32/install_driver.cpp tests/win32/install_driver.rc ${TEST_UPDATE_KEY_SOURCE})
target_link_libraries(install_driver PRIVATE adquell_win32)
adquell_sign_after_build(install_driver)
adquell_utf8_code_page(install_driver)
add_executable(hotkey_helper tests/win32/hotkey_helper.cpp)
target_link_libraries(hotkey_helper PRIVATE user32)
add_executable(tiny_http_server tests/win32/tiny_http_server.cpp)
target_link_libraries(tiny_http_server PRIVATE ws2_32)
adquell_sign_after_build(tiny_http_server)

add_executable(mute_driver tests/win32/mute_driver.cpp)
target_link_libraries(mute_driver PRIVATE adquell_win32)
adquell_utf8_code_page(mute_driver)

add_executable(win32_tests
  tests/win32/capture_test.cpp
  tests/win32/client_control_test.cpp
  tests/win32/detection_test.cpp
  tests/win32/filler_player_test.cpp
  tests/win32/hotkeys_test.cpp
  tests/win32/ini_and_index_test.cpp
  tests/win32/program_test.cpp
  tests/win32/install_test.cpp
  tests/win32/simulated_client_test.cpp
  tests/win32/star_and_keys_test.cpp
)
target_link_libraries(win32_tests PRIVATE adquell_win32 win32_test_rig gtest gtest_main)
adquell_utf8_code_page(win32_tests)
# The slow update test runs the 0.4 copy that takes updates signed with the test key.
add_dependencies(win32_tests tested_program probe_target spotify_sim test_media mute_driver install_driver tiny_http_server hotkey_helper
  update_copies)
gtest_discover_tests(win32_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

add_executable(index_bench tools/bench/index_bench.cpp)
target_link_libraries(index_bench PRIVATE adquell_core)

add_executable(advert_bench tools/bench/advert_bench_win32.cpp)
target_link_libraries(advert_bench PRIVATE adquell_win32 win32_test_rig)
adquell_utf8_code_page(advert_bench)
add_dependencies(advert_bench spotify_sim)

# Whether the program's window keeps answering during a slow update download
# and while it reads a large music folder.
add_executable(responsiveness tools/bench/responsiveness_win32.cpp)
target_include_directories(responsiveness PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(responsiveness PRIVATE win32_test_rig)
adquell_utf8_code_page(responsiveness)
add_dependencies(responsiveness tested_program spotify_sim test_media tiny_http_server update_copies)

# The program: Adquell Lite.exe with its icon, version and manifest.
set(ICON_PATH ${CMAKE_BINARY_DIR}/adquell.ico)
set(ICON_GREY_PATH ${CMAKE_BINARY_DIR}/adquell-grey.ico)
set(MANIFEST_PATH ${CMAKE_BINARY_DIR}/app.manifest)
configure_file(app/app.manifest.in ${MANIFEST_PATH} @ONLY)
add_custom_command(OUTPUT ${ICON_PATH} ${ICON_GREY_PATH}
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/make_icon.py ${ICON_PATH}
  COMMAND python3 ${CMAKE_SOURCE_DIR}/tools/make_icon.py ${ICON_GREY_PATH} grey
  DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_icon.py)
configure_file(app/adquell.rc.in ${CMAKE_BINARY_DIR}/adquell.rc @ONLY)
# The public half of the key releases are signed with (scripts/sign-release.sh);
# without one the program can find newer versions but installs none.
set(ADQ_UPDATE_PUBLIC_KEY "" CACHE FILEPATH "PEM public key (ECDSA P-256) that updates must be signed with")
adquell_update_key_source(UPDATE_KEY_SOURCE update_key "${ADQ_UPDATE_PUBLIC_KEY}")
set_source_files_properties(${CMAKE_BINARY_DIR}/adquell.rc PROPERTIES OBJECT_DEPENDS "${ICON_PATH};${ICON_GREY_PATH};${MANIFEST_PATH}")
add_executable(adquell_lite WIN32
  app/main_window_win32.cpp
  app/program_win32.cpp
  app/tray_menus_win32.cpp
  app/workers_win32.cpp
  ${CMAKE_BINARY_DIR}/adquell.rc
  ${UPDATE_KEY_SOURCE}
)
set_target_properties(adquell_lite PROPERTIES OUTPUT_NAME "Adquell Lite")
target_link_libraries(adquell_lite PRIVATE adquell_win32)
# The shipped build (scripts/release.sh): optimised for size, unused code
# dropped, symbols stripped.
if(CMAKE_BUILD_TYPE STREQUAL "MinSizeRel")
  target_link_options(adquell_lite PRIVATE -s -Wl,--gc-sections)
endif()

# The program the end-to-end tests and the demo run: the shipped exe when one
# is named (ADQ_TESTED_PROGRAM), otherwise this build's own. It is copied to
# bin/tested/ so that every runner finds it at one place.
set(ADQ_TESTED_PROGRAM "" CACHE FILEPATH "Adquell Lite.exe to run in the end-to-end tests and the demo")
if(ADQ_TESTED_PROGRAM)
  set(TESTED_SOURCE ${ADQ_TESTED_PROGRAM})
else()
  set(TESTED_SOURCE $<TARGET_FILE:adquell_lite>)
endif()
# It is run as users get it, Authenticode-signed: here with a throw-away
# certificate made in the build folder, unless it is signed already.
set(TEST_SIGNING ${CMAKE_BINARY_DIR}/test-signing)
add_custom_command(OUTPUT ${TEST_SIGNING}/cert.pem ${TEST_SIGNING}/key.pem
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TEST_SIGNING}
  COMMAND openssl req -x509 -newkey rsa:2048 -nodes -days 3650 -subj "/CN=Adquell Lite test publisher"
    -addext extendedKeyUsage=codeSigning -keyout ${TEST_SIGNING}/key.pem -out ${TEST_SIGNING}/cert.pem 2> /dev/null
  VERBATIM)
set(TESTED_PATH "${CMAKE_BINARY_DIR}/bin/tested/Adquell Lite.exe")
add_custom_target(tested_program ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin/tested
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/sign_tested_program.sh ${TESTED_SOURCE} ${TESTED_PATH}
    ${TEST_SIGNING}/cert.pem ${TEST_SIGNING}/key.pem
  DEPENDS adquell_lite ${TEST_SIGNING}/cert.pem
  VERBATIM)

# The demo and the program's benchmark: the real exe beside the simulated client.
add_executable(demo_runner tools/demo/demo_runner_win32.cpp)
target_include_directories(demo_runner PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(demo_runner PRIVATE win32_test_rig)
adquell_utf8_code_page(demo_runner)
add_dependencies(demo_runner tested_program spotify_sim)

# Two copies of the real program that take updates signed with the test key,
# 0.4 to install and 0.5 (signed) for the test server: each a build of its
# own with ADQ_VERSION_OVERRIDE set. Always handed to the sub-builds, which rebuild
# only what changed.
set(UPDATE_COPIES ${CMAKE_BINARY_DIR}/update-copies)
set(update_copy_commands)
foreach(version 0.4 0.5)
  set(copy ${UPDATE_COPIES}/${version})
  list(APPEND update_copy_commands
    COMMAND ${CMAKE_COMMAND} -S ${CMAKE_SOURCE_DIR} -B ${copy} -DCMAKE_BUILD_TYPE=Debug
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE} -DADQ_VERSION_OVERRIDE=${version}
      -DADQ_UPDATE_PUBLIC_KEY=${TEST_UPDATE_PUBLIC} > ${UPDATE_COPIES}/configure-${version}.log
    COMMAND ${CMAKE_COMMAND} -E env --unset=MAKEFLAGS ${CMAKE_COMMAND} --build ${copy} --target adquell_lite
    COMMAND openssl dgst -sha256 -sign ${TEST_UPDATE_PRIVATE} -out "${copy}/bin/Adquell Lite.exe.sig"
      "${copy}/bin/Adquell Lite.exe")
endforeach()
add_custom_target(update_copies
  COMMAND ${CMAKE_COMMAND} -E make_directory ${UPDATE_COPIES}
  ${update_copy_commands}
  VERBATIM)
# The release signing script on the 0.5 copy, which carries the test key.
add_test(NAME Release.SignedWithAPublisherCertificate
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/sign_release_test.sh "${UPDATE_COPIES}/0.5/bin/Adquell Lite.exe"
    ${TEST_UPDATE_PRIVATE} ${TEST_UPDATE_PUBLIC} ${CMAKE_BINARY_DIR}/sign-release-test)

# The volume-safety matrix: the shipped program against the client's faults.
add_executable(volume_matrix tools/volume_matrix/volume_matrix_win32.cpp)
target_include_directories(volume_matrix PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_link_libraries(volume_matrix PRIVATE win32_test_rig)
adquell_utf8_code_page(volume_matrix)
add_dependencies(volume_matrix tested_program spotify_sim test_media update_copies)
add_test(NAME VolumeSafetyMatrix COMMAND volume_matrix)
set_tests_properties(VolumeSafetyMatrix PROPERTIES TIMEOUT 900)
