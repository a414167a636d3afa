# Lets bench/run build the bench from the top-level project while that project does not add the
# bench folder itself: passed as CMAKE_PROJECT_Velmora_INCLUDE, it adds bench/ once the top-level
# file has been read, unless that file already did.
set(VELMORA_BENCH_SOURCE_DIR "${CMAKE_CURRENT_LIST_DIR}")
function(velmora_attach_bench)
  get_directory_property(added DIRECTORY "${CMAKE_SOURCE_DIR}" SUBDIRECTORIES)
  if(NOT "${VELMORA_BENCH_SOURCE_DIR}" IN_LIST added)
    add_subdirectory("${VELMORA_BENCH_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/bench")
  endif()
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL velmora_attach_bench)
