# orvine_install_default_files(target): after `target` is built, puts the installed default
# settings file and place-list file beside its executable, but only where no file of that
# name exists yet, so that a rebuild never overwrites the user's places or start-up point.
set(ORVINE_DEFAULT_FILES
  "${CMAKE_CURRENT_LIST_DIR}/../data/vantorff.ini"
  "${CMAKE_CURRENT_LIST_DIR}/../data/places.txt")
set(ORVINE_COPY_IF_ABSENT "${CMAKE_CURRENT_LIST_DIR}/OrvineCopyIfAbsent.cmake")

function(orvine_install_default_files target)
  foreach(file IN LISTS ORVINE_DEFAULT_FILES)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -DSOURCE=${file} -DDEST_DIR=$<TARGET_FILE_DIR:${target}>
              -P ${ORVINE_COPY_IF_ABSENT}
      VERBATIM)
  endforeach()
endfunction()
