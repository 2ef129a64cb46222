# Where the DLLs a Windows program of this build loads are found on the build machine: the
# Qt for Windows it is built against and the mingw-w64 runtime (libstdc++, libgcc_s,
# libwinpthread). TF_WINDOWS_DLL_DIRS lists the folders, in that order.
get_filename_component(tf_qt_bin "${Qt6Core_DIR}/../../../bin" ABSOLUTE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
  OUTPUT_VARIABLE tf_libstdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(tf_gcc_dlls "${tf_libstdcxx}" DIRECTORY)
find_file(TF_WINPTHREAD_DLL libwinpthread-1.dll
  PATHS /usr/x86_64-w64-mingw32/lib /usr/x86_64-w64-mingw32/bin NO_DEFAULT_PATH REQUIRED)
get_filename_component(tf_pthread_dlls "${TF_WINPTHREAD_DLL}" DIRECTORY)
set(TF_WINDOWS_DLL_DIRS ${tf_qt_bin} ${tf_gcc_dlls} ${tf_pthread_dlls})
