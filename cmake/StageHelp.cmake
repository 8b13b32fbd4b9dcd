# Stages the help pages into the parts folder: each UTF-8 page source becomes
# the Shift-JIS file the program reads, and the pictures are copied beside
# them. A page with a character that Shift-JIS cannot hold stops the build.
file(MAKE_DIRECTORY "${DST}")
file(GLOB pages "${SRC}/*.txt")
foreach(page IN LISTS pages)
  get_filename_component(name "${page}" NAME)
  execute_process(COMMAND iconv -f UTF-8 -t CP932 "${page}"
                  OUTPUT_FILE "${DST}/${name}" RESULT_VARIABLE failed)
  if(failed)
    file(REMOVE "${DST}/${name}")
    message(FATAL_ERROR "help page ${name} cannot be written in Shift-JIS")
  endif()
endforeach()
file(GLOB pictures "${SRC}/pictures/*.bmp")
if(pictures)
  file(COPY ${pictures} DESTINATION "${DST}")
endif()
