# What we build for Windows (the program, the printing module, the test programs) checks
# its stack frames and the sizes of the buffers it copies into: -fstack-protector-strong
# and _FORTIFY_SOURCE=2. With mingw-w64 both call into libssp, which the link brings in
# (-fstack-protector-strong at link time adds -lssp) and which is shipped beside the
# program as libssp-0.dll. Not for the resource compiler, which knows neither.
target_compile_options(tf_options INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:-fstack-protector-strong>
                                           $<$<COMPILE_LANGUAGE:C,CXX>:-D_FORTIFY_SOURCE=2>)
target_link_options(tf_options INTERFACE -fstack-protector-strong)
