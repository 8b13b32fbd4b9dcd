# Stages the help pages into the parts folder: each UTF-8 page source becomes
# the Shift-JIS file the program reads, and the pictures are copied beside
# them. "@WAVORA_VERSION@" in a page becomes the project's version (VERSION),
# so the first page names the version it ships with. A page with a character
# that Shift-JIS cannot hold stops the build.
file(MAKE_DIRECTORY "${DST}")
if(NOT VERSION)
  message(FATAL_ERROR "StageHelp: no VERSION given")
endif()
file(GLOB pages "${SRC}/*.txt")
foreach(page IN LISTS pages)
  get_filename_component(name "${page}" NAME)
  file(READ "${page}" text)
  string(REPLACE "@WAVORA_VERSION@" "${VERSION}" text "${text}")
  set(utf8 "${DST}/${name}.utf8")
  file(WRITE "${utf8}" "${text}")
  execute_process(COMMAND iconv -f UTF-8 -t CP932 "${utf8}"
                  OUTPUT_FILE "${DST}/${name}" RESULT_VARIABLE failed)
  file(REMOVE "${utf8}")
  if(failed)
    file(REMOVE "${DST}/${name}")
    message(FATAL_ERROR "help page ${name} cannot be written in Shift-JIS")
  endif()
endforeach()
file(GLOB pictures "${SRC}/pictures/*.bmp")
if(pictures)
  file(COPY ${pictures} DESTINATION "${DST}")
endif()
