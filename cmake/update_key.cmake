# The key updates are checked with, built into a program: the point X||Y of an
# ECDSA P-256 public key, read from a PEM file with openssl and written as a
# C++ source that defines BuiltInUpdateKey().
#   adquell_update_key_source(OUT_VAR NAME PEM)    an empty PEM: no key

# SubjectPublicKeyInfo of a P-256 key up to its uncompressed point's 04.
set(P256_PUBLIC_PREFIX "3059301306072a8648ce3d020106082a8648ce3d03010703420004")

function(adquell_update_key_source out name pem)
  set(key_bytes "")
  file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/generated)
  if(pem)
    set(der ${CMAKE_BINARY_DIR}/generated/${name}.der)
    execute_process(COMMAND openssl pkey -pubin -in ${pem} -outform DER -out ${der}
      RESULT_VARIABLE failed ERROR_VARIABLE why)
    if(failed)
      message(FATAL_ERROR "${pem} is not a public key (${why}). Give the public half: "
        "openssl pkey -in KEY.pem -pubout -out public.pem")
    endif()
    file(READ ${der} hex HEX)
    string(LENGTH "${hex}" hex_length)
    string(FIND "${hex}" "${P256_PUBLIC_PREFIX}" prefix_at)
    if(NOT hex_length EQUAL 182 OR NOT prefix_at EQUAL 0)
      message(FATAL_ERROR "${pem} is not an ECDSA P-256 public key with an uncompressed point")
    endif()
    string(SUBSTRING "${hex}" 54 128 point)
    string(REGEX REPLACE "(..)" "\\\\x\\1" key_bytes "${point}")
  endif()
  set(source ${CMAKE_BINARY_DIR}/generated/${name}.cpp)
  if(key_bytes)
    set(body "return std::string(\"${key_bytes}\", 64);")
  else()
    set(body "return std::string();  // configured without ADQ_UPDATE_PUBLIC_KEY")
  endif()
  file(CONFIGURE OUTPUT ${source} CONTENT
    "// Generated from the configured update key; not edited by hand.\n#include \"platform/signature_check_win32.h\"\n\nstd::string BuiltInUpdateKey() {\n    ${body}\n}\n")
  set(${out} ${source} PARENT_SCOPE)
endfunction()

# A throw-away key pair for the update tests, made once per build folder;
# its private half never leaves it.
function(adquell_test_update_key out_private out_public)
  set(folder ${CMAKE_BINARY_DIR}/test-update-key)
  if(NOT EXISTS ${folder}/public.pem)
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND openssl ecparam -name prime256v1 -genkey -noout -out ${folder}/private.pem
      COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND openssl pkey -in ${folder}/private.pem -pubout -out ${folder}/public.pem
      COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(${out_private} ${folder}/private.pem PARENT_SCOPE)
  set(${out_public} ${folder}/public.pem PARENT_SCOPE)
endfunction()
