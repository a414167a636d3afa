# Lets bench/run build the bench from the top-level project while that project does not add the
# bench folder itself: passed as CMAKE_PROJECT_Velmora_INCLUDE, it reads bench/CMakeLists.txt once
# the top-level file has been read, unless the bench's targets exist by then.
set(VELMORA_BENCH_LIST "${CMAKE_CURRENT_LIST_DIR}/CMakeLists.txt")
function(velmora_attach_bench)
  if(NOT TARGET bench_driver)
    include("${VELMORA_BENCH_LIST}")
  endif()
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL velmora_attach_bench)
