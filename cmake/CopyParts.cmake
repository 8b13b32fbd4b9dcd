# Copies the committed parts (help pages, cursors, bitmaps) into the staged
# parts folder; missing sources are simply skipped so the stage step never fails
# on a fresh tree.
if(EXISTS "${SRC}")
  file(COPY "${SRC}/" DESTINATION "${DST}")
endif()
