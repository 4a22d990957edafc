# Copies SOURCE to TARGET (same file name) unless TARGET exists (cmake -DSOURCE=... -DTARGET=... -P this file).
if(NOT EXISTS "${TARGET}")
  get_filename_component(folder "${TARGET}" DIRECTORY)
  file(MAKE_DIRECTORY "${folder}")
  file(COPY "${SOURCE}" DESTINATION "${folder}")
endif()
