# Run by cpack between installing into its staging folder and packing it. The install creates
# folders under the packager's umask, and a package whose /usr/share/doc/tolvek or
# /usr/share/metainfo is 0700 hides them from every user but root: folders get 0755 here.
file(GLOB_RECURSE entries LIST_DIRECTORIES true ${CPACK_TEMPORARY_DIRECTORY}/*)
foreach(entry IN ITEMS ${CPACK_TEMPORARY_DIRECTORY} ${entries})
  if(IS_DIRECTORY ${entry})
    file(CHMOD ${entry} DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
         GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
