# Shared compile settings for every target of the project.
add_library(tarnvale_options INTERFACE)
target_include_directories(tarnvale_options INTERFACE ${PROJECT_SOURCE_DIR})
target_compile_options(tarnvale_options INTERFACE -Wall -Wextra)
target_link_libraries(tarnvale_options INTERFACE Threads::Threads)
if(TARNVALE_WERROR)
  target_compile_options(tarnvale_options INTERFACE -Werror)
endif()
if(TARNVALE_SANITIZE)
  target_compile_options(tarnvale_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tarnvale_options INTERFACE -fsanitize=address,undefined)
endif()
if(TARNVALE_FUZZ)
  # Every library is instrumented for the fuzzer's coverage; only the fuzz programs link its main.
  target_compile_options(tarnvale_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(tarnvale_options INTERFACE -fsanitize=address,undefined)
endif()
if(TARNVALE_TSAN)
  target_compile_options(tarnvale_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
  target_link_options(tarnvale_options INTERFACE -fsanitize=thread)
endif()

# One static library per source folder, from every .cpp below it. Sources
# are found when CMake configures (./run-tests always does), not on every
# build, so a build with nothing changed does no work: after adding or
# removing a file, run cmake again.
function(tarnvale_add_folder_library folder)
  file(GLOB_RECURSE sources ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    set(sources ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(${folder} STATIC ${sources})
  target_link_libraries(${folder} PUBLIC tarnvale_options)
endfunction()
