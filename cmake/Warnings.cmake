# Every target of ours compiles with warnings as errors.
function(glider_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror -Wno-unused-parameter -Wno-missing-field-initializers)
  # GCC 12's optimiser reports overlapping copies inside std::string that cannot happen
  # (a known false positive at -O2 and above).
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
