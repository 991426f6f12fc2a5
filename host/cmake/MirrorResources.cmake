# Mirrors a folder of the source tree into the resource root, run at every
# build: copies the files that are new or changed and removes the copies
# whose source is gone (a renamed file leaves no stale copy under its old
# name), except the files the build itself makes there.
#   cmake -DSOURCE=<folder> -DTARGET=<folder> [-DKEEP=<paths relative to
#         TARGET, separated by commas>] -P MirrorResources.cmake
cmake_minimum_required(VERSION 3.21) # file(COPY_FILE ... ONLY_IF_DIFFERENT)
string(REPLACE "," ";" KEEP "${KEEP}")
file(GLOB_RECURSE sources LIST_DIRECTORIES false RELATIVE ${SOURCE} ${SOURCE}/*)
file(GLOB_RECURSE copies LIST_DIRECTORIES false RELATIVE ${TARGET} ${TARGET}/*)
foreach(file ${sources})
  get_filename_component(folder ${TARGET}/${file} DIRECTORY)
  file(MAKE_DIRECTORY ${folder})
  file(COPY_FILE ${SOURCE}/${file} ${TARGET}/${file} ONLY_IF_DIFFERENT)
endforeach()
foreach(file ${copies})
  if(NOT file IN_LIST sources AND NOT file IN_LIST KEEP)
    file(REMOVE ${TARGET}/${file})
  endif()
endforeach()
