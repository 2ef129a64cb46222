# tf_draw_icon(<var> <svg> <folder> <size>...): the icon drawn from its SVG at each size, at
# build time, as <folder>/<size>x<size>/<name of the svg>.png; <var> lists the PNGs, smallest
# first. For the desktop's icon theme and for the Windows program's .ico alike.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)  # librsvg2-bin
function(tf_draw_icon var svg folder)
  cmake_path(GET svg STEM LAST_ONLY name)
  set(pngs)
  foreach(size IN LISTS ARGN)
    set(png ${folder}/${size}x${size}/${name}.png)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/${size}x${size}
      COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${svg}
      DEPENDS ${svg} VERBATIM)
    list(APPEND pngs ${png})
  endforeach()
  set(${var} ${pngs} PARENT_SCOPE)
endfunction()
