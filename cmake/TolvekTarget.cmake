# Options every target of our own shares: strict warnings, treated as errors.
function(tolvek_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()

# A library of our own: sources beside the folder's CMakeLists, public headers found from the
# repository root ("engine/HashEngine.h"), generated ones from the build's "generated" folder.
function(tolvek_library target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
  tolvek_target_options(${target})
endfunction()
