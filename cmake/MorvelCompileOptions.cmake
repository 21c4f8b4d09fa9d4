# Compiler flags shared by every target of the project.
add_library(morvel_options INTERFACE)
if(MSVC)
  # Sources are UTF-8 (the program's texts are Russian); MSVC would read them in
  # the system's code page without /utf-8.
  target_compile_options(morvel_options INTERFACE /utf-8 /W4 /permissive- /Zc:__cplusplus)
  target_compile_definitions(morvel_options INTERFACE NOMINMAX WIN32_LEAN_AND_MEAN _CRT_SECURE_NO_WARNINGS)
  if(MORVEL_WERROR)
    target_compile_options(morvel_options INTERFACE /WX)
  endif()
else()
  target_compile_options(morvel_options INTERFACE -Wall -Wextra -Wpedantic)
  if(MORVEL_WERROR)
    target_compile_options(morvel_options INTERFACE -Werror)
  endif()
endif()
if(MORVEL_FUZZ)
  # Every library is instrumented for the fuzzer's coverage; the fuzz programs
  # themselves link its driver.
  target_compile_options(morvel_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(morvel_options INTERFACE -fsanitize=address,undefined)
elseif(MORVEL_SANITIZE)
  target_compile_options(morvel_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(morvel_options INTERFACE -fsanitize=address,undefined)
endif()

# Adds the library of one subsystem folder: every .cpp file of the folder.
# A folder without sources yet gives an interface library, so that the layering
# of the targets stays the same while the subsystems are being filled in.
# The arguments after the name are the libraries it uses, public by default; those
# after a PRIVATE keyword are used only inside its sources (no header of the
# folder shows their types), so they do not spread to the folder's users.
function(morvel_subsystem_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${name} PUBLIC morvel_options)
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(${name} INTERFACE morvel_options)
    set(scope INTERFACE)
  endif()
  if(ARGN)
    target_link_libraries(${name} ${scope} ${ARGN})
  endif()
endfunction()
