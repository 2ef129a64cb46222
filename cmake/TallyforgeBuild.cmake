# How every target of the build is put together: the options it is compiled with, the
# headers a library shows to what links it, and its platform files.

# tf_options: the warnings (and, in the Windows build, the hardening: WindowsHardening.cmake)
# of everything built here; every target links it.
add_library(tf_options INTERFACE)
target_compile_options(tf_options INTERFACE -Wall -Wextra -Wpedantic)

# tf_app_info: the generated app_info.h (the program's name, id and version, where its
# printing module is), for the targets that link it.
configure_file(${PROJECT_SOURCE_DIR}/src/app_info.h.in ${PROJECT_BINARY_DIR}/generated/app_info.h @ONLY)
add_library(tf_app_info INTERFACE)
target_include_directories(tf_app_info INTERFACE ${PROJECT_BINARY_DIR}/generated)

# tf_own_headers(<target> PUBLIC|PRIVATE): the headers of the folder under src/ that defines
# <target>, included as "<folder>/<header>", and no other folder's: include/<folder>/ in the
# build tree holds only a link to that folder. PUBLIC: for what links <target> too.
function(tf_own_headers target scope)
  cmake_path(GET CMAKE_CURRENT_SOURCE_DIR FILENAME folder)
  set(dir ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${dir}/${folder} SYMBOLIC)
  target_include_directories(${target} ${scope} ${dir})
endfunction()

# tf_platform_sources(<target> <seam>...): for each seam, <seam>_win.cpp in the Windows
# build, <seam>_posix.cpp elsewhere, from the calling folder; <seam>.h is the seam's header.
function(tf_platform_sources target)
  if(WIN32)
    list(TRANSFORM ARGN APPEND _win.cpp)
  else()
    list(TRANSFORM ARGN APPEND _posix.cpp)
  endif()
  target_sources(${target} PRIVATE ${ARGN})
endfunction()
