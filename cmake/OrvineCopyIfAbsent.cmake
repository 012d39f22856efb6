# cmake -DSOURCE=file -DDEST_DIR=dir -P OrvineCopyIfAbsent.cmake
# Copies SOURCE into DEST_DIR unless DEST_DIR already holds something of that name.
get_filename_component(name "${SOURCE}" NAME)
if(NOT EXISTS "${DEST_DIR}/${name}" AND NOT IS_SYMLINK "${DEST_DIR}/${name}")
  file(COPY "${SOURCE}" DESTINATION "${DEST_DIR}")
endif()
